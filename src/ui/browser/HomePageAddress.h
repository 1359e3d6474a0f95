#pragma once

#include <QString>

// The product's home page, opened in every new browser window. It ships inside
// the program (resources/home), so it opens without a network, from the build
// tree and from an install alike.
inline const QString HomePageAddress = QStringLiteral("qrc:/home/index.html");
