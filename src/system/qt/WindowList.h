#pragma once

#include "platform/LoadedWindows.h"

#include <QList>
#include <QObject>
#include <QWidget>

// The loaded windows of the running program. A window adds itself when it is
// loaded and leaves the list when it is destroyed; unloading one closes it,
// which runs its close handling (and deletes it if it deletes on close).
class WindowList : public QObject, public LoadedWindows {
    Q_OBJECT

public:
    using QObject::QObject;

    void add(QWidget* window);
    QWidget* at(int position) const;
    int indexOf(const QWidget* window) const;

    int count() const override;
    void unload(int position) override;

private:
    QList<QWidget*> m_windows;
};
