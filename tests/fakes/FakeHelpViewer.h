#pragma once

#include "platform/HelpViewer.h"

#include <QList>
#include <QString>

// Records every request instead of opening a viewer.
class FakeHelpViewer : public HelpViewer {
public:
    struct Request {
        QString helpFile;
        int command = 0;

        bool operator==(const Request&) const = default;
    };

    void showHelp(const QString& helpFile, int command) override { requests.append({helpFile, command}); }

    QList<Request> requests;
};
