// The file and font dialogs: the answers a user gives, the default
// extension, the question before a file is replaced, and the real file
// dialog's filters; what screen readers are given of a message or a prompt.
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace TestSupport;

namespace {
FileDialog::Options morseOptions() {
    FileDialog::Options o;
    o.title = "Save";
    o.filter = "Morse Files (*.qmc)|*.qmc|All Files (*.*)|*.*";
    o.defaultExt = "qmc";
    return o;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void saveAddsDefaultExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no extension") << "/tmp/x/letter" << "/tmp/x/letter.qmc";
        QTest::newRow("own extension kept") << "/tmp/x/letter.txt" << "/tmp/x/letter.txt";
        QTest::newRow("cancelled") << "" << "";
    }
    void saveAddsDefaultExtension() {
        QFETCH(QString, typed);
        DialogSeam::queueFile(typed, 2);
        int index = 0;
        QTEST(FileDialog::save(morseOptions(), &index), "expected");
        QCOMPARE(index, typed.isEmpty() ? 0 : 2);
        QCOMPARE(DialogSeam::shown().size(), 1);
        QCOMPARE(DialogSeam::shown()[0].kind, QString("save"));
        QCOMPARE(DialogSeam::shown()[0].defaultExt, QString("qmc"));
    }

    // Answering "No" to the question goes back to the dialog.
    void saveAsksBeforeReplacing_data() {
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("boxes");
        QTest::newRow("replace") << true << int(vbYes) << "old.qmc" << 1;
        QTest::newRow("choose another") << true << int(vbNo) << "new.qmc" << 1;
        QTest::newRow("no question wanted") << false << int(vbNo) << "old.qmc" << 0;
    }
    void saveAsksBeforeReplacing() {
        QFETCH(bool, prompt);
        QFETCH(int, answer);
        writeFile("old.qmc", "x");
        DialogSeam::queueFile(App::file("old"));
        DialogSeam::queueFile(App::file("new"));
        MsgBoxSeam::queueAnswer(answer);
        FileDialog::Options o = morseOptions();
        o.overwritePrompt = prompt;
        QFETCH(QString, expected);
        QCOMPARE(FileDialog::save(o), App::file(expected));
        QTEST(int(MsgBoxSeam::shown().size()), "boxes");
    }

    void fontChoice() {
        FontChoice c;
        DialogSeam::queueFontCancel();
        QVERIFY(!FontDialog::choose(c, "Font"));
        FontChoice chosen{QFont("Verdana", 14), Qt::red};
        chosen.font.setBold(true);
        DialogSeam::queueFont(chosen);
        QVERIFY(FontDialog::choose(c, "Font"));
        QCOMPARE(c.font, chosen.font);
        QCOMPARE(c.color, QColor(Qt::red));
        QCOMPARE(DialogSeam::shown().last().kind, QString("font"));
    }

    // The real dialog: the program's filter string as Qt's filters, "All
    // Files" matching names without a dot too, and the extension added.
    void realOpenDialog() {
        DialogSeam::enable(false);
        writeFile("README", "x");
        QStringList filters;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            filters = dlg->nameFilters();
            dlg->selectNameFilter(filters.value(1));
            dlg->selectFile(App::file("README"));
            QMetaObject::invokeMethod(dlg, "accept");
        });
        FileDialog::Options o = morseOptions();
        o.initialDir = programFolder();
        o.defaultExt.clear();
        int index = 0;
        QCOMPARE(FileDialog::open(o, &index), App::file("README"));
        QCOMPARE(filters, QStringList({"Morse Files (*.qmc)", "All Files (*)"}));
        QCOMPARE(index, 2);
    }

    // Readers drop a text that holds a line break: a message box's text,
    // an input box's prompt and the name of its field are given to them
    // with blanks for the line breaks, while the box shows them as they are.
    void spokenWithoutLineBreaks_data() {
        QTest::addColumn<bool>("input");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("a problem") << false << "Problem: OpenFile\n53: File not found"
                                   << QStringList{"Problem: OpenFile 53: File not found"};
        QTest::newRow("printout notice, CR LF")
            << false << "No printer is set up. The printout was saved as:\r\n/tmp/Print 1.pdf"
            << QStringList{"No printer is set up. The printout was saved as: /tmp/Print 1.pdf"};
        QTest::newRow("name box: the prompt after a line break")
            << true << "\nPlease enter your name, Player 1"
            << QStringList{"Please enter your name, Player 1", "Please enter your name, Player 1"};
    }
    void spokenWithoutLineBreaks() {
        QFETCH(bool, input);
        QFETCH(QString, prompt);
        MsgBoxSeam::enable(false);
        QStringList heard;
        QString shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            for (QWidget* w : box->findChildren<QWidget*>()) {
                auto* label = qobject_cast<QLabel*>(w);
                if (label && !label->text().isEmpty()) shown = label->text();
                if ((label && !label->text().isEmpty()) || qobject_cast<QLineEdit*>(w))
                    heard << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            }
            QMetaObject::invokeMethod(box, "reject");
        });
        if (input) InputBox(prompt);
        else MsgBox(prompt, vbCritical);
        QTEST(heard, "heard");
        QCOMPARE(shown, prompt);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_platform_dialogs.moc"
