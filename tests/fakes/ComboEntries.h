#pragma once

#include <QComboBox>
#include <QStringList>

// The texts of a combo box's list, in order.
inline QStringList entries(const QComboBox* box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}
