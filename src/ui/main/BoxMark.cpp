#include "ui/main/BoxMark.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>

namespace {

const char* const MarkName = "BoxMark";

} // namespace

void showBoxMark(QLineEdit& box, const QString& reason)
{
    if (box.accessibleDescription() == reason)
        return;
    box.setAccessibleDescription(reason);
    auto* mark = box.findChild<QAction*>(QLatin1String(MarkName), Qt::FindDirectChildrenOnly);
    if (reason.isEmpty()) {
        if (mark)
            box.removeAction(mark);
        return;
    }
    if (!mark) {
        mark = new QAction(box.style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, &box), QString(), &box);
        mark->setObjectName(QLatin1String(MarkName));
    }
    // The icon's button is read by its text: the reason, as the box's description.
    mark->setText(reason);
    mark->setToolTip(reason);
    if (!box.actions().contains(mark))
        box.addAction(mark, QLineEdit::TrailingPosition);
}
