#pragma once

#include <QIcon>

// Quillo's icon at every size it is drawn in, so that title bars, task
// switchers and scaled screens each pick a sharp one.
QIcon productIcon();
