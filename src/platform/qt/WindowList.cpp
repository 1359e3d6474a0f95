#include "platform/qt/WindowList.h"

void WindowList::add(QWidget* window)
{
    prune();
    if (!window || m_windows.contains(window))
        return;
    m_windows.append(window);
    // A widget announces its destruction before its guards are cleared, so
    // the entry is removed by identity rather than by being null.
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        m_windows.removeIf([gone](const QPointer<QWidget>& entry) { return entry.isNull() || entry == gone; });
    });
}

QWidget* WindowList::at(int position) const
{
    if (position < 0 || position >= m_windows.size())
        return nullptr;
    return m_windows.at(position);
}

int WindowList::indexOf(const QWidget* window) const
{
    for (int i = 0; i < m_windows.size(); ++i) {
        if (m_windows.at(i) == window)
            return i;
    }
    return -1;
}

int WindowList::count() const
{
    int alive = 0;
    for (const auto& window : m_windows)
        alive += window ? 1 : 0;
    return alive;
}

void WindowList::unload(int position)
{
    prune();
    if (position < 0 || position >= m_windows.size())
        return;
    QPointer<QWidget> window = m_windows.takeAt(position);
    if (window)
        window->close();
}

void WindowList::prune()
{
    m_windows.removeIf([](const QPointer<QWidget>& window) { return window.isNull(); });
}
