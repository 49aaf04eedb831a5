#include "Platform/Announce.h"

#include "Platform/Controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace {
const QString kNoticeName = QStringLiteral("qem_reader_notice");
const QString kKeeperName = QStringLiteral("qem_reader_notices");
// A reader reads a notice some time after it was shown; the notices of the
// last moments stay for it, older ones go.
constexpr qsizetype kLive = 16;

// A notice: its text is set once, before it is shown, and never changes
// (no event of its own besides the one of its showing).
class Notice : public QWidget {
public:
    Notice(QWidget* window, const QString& text) : QWidget(window), told(text) {}
    const QString told;
};

// The notices of a window, oldest first.
class NoticeKeeper : public QObject {
public:
    explicit NoticeKeeper(QWidget* window) : QObject(window) { setObjectName(kKeeperName); }
    QList<QPointer<Notice>> live;
};

// What readers know of a notice: a notification named by its text, with
// the text as its content, which a braille display shows.
class AccessibleNotice : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleNotice(Notice* n) : QAccessibleWidget(n, QAccessible::Notification) {}
    QString told() const {
        const auto* notice = static_cast<const Notice*>(widget());
        return notice ? notice->told : QString();
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? told() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The text, read only: no selection, the cursor at its start.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        if (start < 0 || end < start) return QString();
        return told().mid(start, end - start);
    }
    int characterCount() const override { return int(told().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        Q_UNUSED(offset);
        return QString();
    }
};

QAccessibleInterface* accessibleNotice(const QString& key, QObject* o) {
    if (key == QLatin1String("QWidget") && o->objectName() == kNoticeName)
        return new AccessibleNotice(static_cast<Notice*>(o));
    return nullptr;
}

// A new notice for the window: a pixel at its top left corner, under every
// other control, that neither draws, nor takes the focus or the mouse.
Notice* newNotice(QWidget* window, const QString& text) {
    auto* notice = new Notice(window, text);
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
} // namespace

bool readersListen() { return QAccessible::isActive(); }

void tellReaders(QWidget* where, const QString& text) {
    if (!where || !readersListen()) return;
    static const bool factory = (QAccessible::installFactory(accessibleNotice), true);
    Q_UNUSED(factory);
    QWidget* window = where->window();
    QString spoken = spokenText(text.left(kLongestTold));
    // Readers take text without control characters (a peer's bytes may hold any).
    for (QChar& c : spoken)
        if (c.category() == QChar::Other_Control) c = u' ';
    auto* keeper = static_cast<NoticeKeeper*>(window->findChild<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly));
    if (!keeper) keeper = new NoticeKeeper(window);
    keeper->live.removeAll(nullptr);
    while (keeper->live.size() >= kLive) delete keeper->live.takeFirst();
    // Readers speak a notification as it appears.
    Notice* notice = newNotice(window, spoken);
    keeper->live << notice;
    notice->show();
}
