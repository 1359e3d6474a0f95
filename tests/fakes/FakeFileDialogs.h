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
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void answer(const QString& path) { answers.push_back(path); }
    void cancel() { answers.push_back(std::nullopt); }

    std::deque<std::optional<QString>> answers;
    QList<FileDialogRequest> requests;
};
