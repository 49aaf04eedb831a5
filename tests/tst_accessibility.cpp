// Screen readers can name every control of every window: each window of the
// program, opened in English and in German as the user meets it, holds no
// visible control that takes the focus without an accessible name, and every
// label's accessible name is its caption as shown.
#include "Modules/modMain.h"
#include "Platform/Controls.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace TestSupport;

namespace {


QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// What an owner needs to find the control: its class, its text and where it lies.
QString describe(QWidget* w, QWidget* window) {
    QString text;
    if (auto* l = qobject_cast<Label*>(w)) text = l->Caption();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    else if (auto* c = qobject_cast<QComboBox*>(w)) text = c->currentText();
    if (text.isEmpty()) text = w->toolTip();
    const QPoint at = w->mapTo(window, QPoint(0, 0));
    return QStringLiteral("%1 \"%2\" at %3,%4").arg(QLatin1String(w->metaObject()->className()), text.left(40)).arg(at.x()).arg(at.y());
}

// A combo box falls back to the text it holds, which is its value: it is
// named only by its own name or a label tied to it.
bool comboNamed(QComboBox* c, QWidget* window) {
    if (!c->accessibleName().trimmed().isEmpty()) return true;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->buddy() == c && !l->text().trimmed().isEmpty()) return true;
    return false;
}

// The controls a reader cannot name, and the labels it would name wrongly.
QStringList problems(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        if (auto* l = qobject_cast<Label*>(w)) {
            const QString caption = l->UseMnemonic() ? captionText(l->Caption()) : l->Caption();
            const QString name = accessibleName(l);
            // A single glyph clicked as a button ("X", "_") is named by what it does.
            const bool glyphButton = l->onClick && caption.size() == 1;
            if (!caption.isEmpty() && name != caption && !glyphButton)
                found << describe(w, window) + QStringLiteral(": named \"%1\", not by its caption").arg(name);
        }
        // A control whose focus goes to another (an editable combo box's
        // text) is named by that one.
        if (w->focusPolicy() == Qt::NoFocus || w->focusProxy()) continue;
        auto* combo = qobject_cast<QComboBox*>(w);
        if (combo ? !comboNamed(combo, window) : accessibleName(w).trimmed().isEmpty())
            found << describe(w, window) + QStringLiteral(": no accessible name");
    }
    return found;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { tearDown(); }

    void everyControlNamed_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("language");
        for (const QString& language : {QStringLiteral("English"), QStringLiteral("German")})
            for (int i = 0; i < programWindows().size(); ++i)
                QTest::newRow(qPrintable(programWindows()[i].name + QStringLiteral(", ") + language)) << i << language;
    }
    void everyControlNamed() {
        QFETCH(int, window);
        QFETCH(QString, language);
        setUp(true);
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        // Windows opened without the menu still speak the stored language.
        LoadLanguage();
        QWidget* w = programWindows()[window].open();
        QVERIFY(w);
        QCoreApplication::processEvents();
        const QStringList found = problems(w);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
