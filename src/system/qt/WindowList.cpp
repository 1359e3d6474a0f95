#include "system/qt/WindowList.h"

void WindowList::add(QWidget* window)
{
    if (!window || m_windows.contains(window))
        return;
    m_windows.append(window);
    // A destroyed window leaves the list at once, so every entry is alive.
    connect(window, &QObject::destroyed, this,
            [this](QObject* gone) { m_windows.removeIf([gone](const QWidget* entry) { return entry == gone; }); });
}

QWidget* WindowList::at(int position) const
{
    return m_windows.value(position);
}

int WindowList::indexOf(const QWidget* window) const
{
    return m_windows.indexOf(window);
}

int WindowList::count() const
{
    return m_windows.size();
}

void WindowList::unload(int position)
{
    if (position < 0 || position >= m_windows.size())
        return;
    m_windows.takeAt(position)->close();
}
