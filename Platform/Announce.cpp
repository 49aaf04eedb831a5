#include "Platform/Announce.h"

#include "Platform/Controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {
const QString kNoticeName = QStringLiteral("qem_reader_notice");
// A notice is speech: a longer text (a flood of chat) is told in part.
constexpr qsizetype kLongest = 1000;

// A new notice for the window: a pixel at its top left corner, under every
// other control, that neither draws, nor takes the focus or the mouse.
QWidget* newNotice(QWidget* window) {
    auto* notice = new QWidget(window);
    notice->setObjectName(kNoticeName);
    notice->setFocusPolicy(Qt::NoFocus);
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice->setGeometry(0, 0, 1, 1);
    notice->lower();
    // A reader's view of it made while it was being built knew it only as
    // a part of the window.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(notice);
    if (known && known->role() != QAccessible::Notification)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
    return notice;
}

QAccessibleInterface* accessibleNotice(const QString& key, QObject* o) {
    if (key == QLatin1String("QWidget") && o->objectName() == kNoticeName)
        return new QAccessibleWidget(static_cast<QWidget*>(o), QAccessible::Notification);
    return nullptr;
}
} // namespace

void tellReaders(QWidget* where, const QString& text) {
    if (!where || !QAccessible::isActive()) return;
    static const bool factory = (QAccessible::installFactory(accessibleNotice), true);
    Q_UNUSED(factory);
    QWidget* window = where->window();
    QString spoken = spokenText(text.left(kLongest));
    // Readers take text without control characters (a peer's bytes may hold any).
    for (QChar& c : spoken)
        if (c.category() == QChar::Other_Control) c = u' ';
    // Readers speak a notification as it appears: a new one as it is shown,
    // the window's notice again each time it is told a text.
    if (auto* notice = window->findChild<QWidget*>(kNoticeName, Qt::FindDirectChildrenOnly)) {
        notice->setAccessibleName(spoken);
        QAccessibleEvent shown(notice, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
        return;
    }
    QWidget* notice = newNotice(window);
    notice->setAccessibleName(spoken);
    notice->show();
}
