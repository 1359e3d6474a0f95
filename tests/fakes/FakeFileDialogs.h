#pragma once

#include "platform/FileDialogs.h"

#include <QList>
#include <deque>

// Answers each dialog with the next prepared answer (a path, or nothing for
// Cancel) and records what it was asked. With no answer left it cancels.
class FakeFileDialogs : public FileDialogs {
public:
    std::optional<QString> choose(const FileDialogRequest& request) override
    {
        requests.append(request);
        if (answers.empty())
            return std::nullopt;
        const QString path = answers.front();
        answers.pop_front();
        if (path.isNull())
            return std::nullopt;
        return path;
    }

    void answer(const QString& path) { answers.push_back(path); }
    void cancel() { answers.push_back(QString()); }

    // The prepared answers; a null text stands for Cancel.
    std::deque<QString> answers;
    QList<FileDialogRequest> requests;
};
