// The vocabulary book: the word store on its own (values as typed, names
// compared exactly, deletes and renames whole or not at all, the edition),
// and the translator window driven as a user would against a temporary
// "Voc.mdb": listing, searching, adding, updating, deleting, categories by
// drag and drop and by keys, the grid's tooltips, resizing, the worksheet,
// printing, and the end of a session with the window open.
#include "Forms/Main/frmChoice.h"
#include "Forms/Main/frmPrint.h"
#include "Forms/Translator/frmTrans.h"
#include "Modules/modLanguage.h"
#include "Modules/modTrans.h"
#include "Platform/Ado.h"
#include "Platform/App.h"
#include "Platform/FlexGrid.h"
#include "Platform/MsgBox.h"
#include "Platform/Shell.h"
#include "Platform/Storage.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace TestSupport;
using VocStore::Entry;

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QString kSql = QStringLiteral("'; DROP TABLE Vocabulary; --");

QString vocFile() { return App::dataFile(QStringLiteral("Voc.mdb"), App::Access::Write); }

// A word store with these entries, their categories and types.
void seed(const QList<Entry>& entries, double edition = 1.0) {
    Ado::Connection c(QStringLiteral("Seed"));
    VocStore::open(c, vocFile());
    c.Execute(QStringLiteral("Update Version Set Version = ?"), {edition});
    for (const Entry& e : entries) {
        if (!VocStore::hasCategory(c, e.category)) VocStore::addCategory(c, e.category);
        if (!VocStore::hasType(c, e.type)) VocStore::addType(c, e.type);
        if (e.autoNr > 0)
            c.Execute(QStringLiteral("Insert Into Vocabulary (AutoNr, English, German, Category, Type) Values (?, ?, ?, ?, ?)"),
                      {e.autoNr, e.english, e.german, e.category, e.type});
        else VocStore::add(c, e);
    }
    c.Close();
}

// Reads the store as it stands, on a connection of the test's own.
template <class F> auto inStore(F&& f) {
    Ado::Connection c(QStringLiteral("Check"));
    VocStore::open(c, vocFile());
    auto result = f(c);
    c.Close();
    return result;
}

QList<Entry> fruit() {
    return {{0, "apple", "Apfel", "Food", "Noun"},
            {0, "bread", "Brot", "Food", "Noun"},
            {0, "cheese", "Käse", "Food", "Noun"},
            {0, "to eat", "essen", "Food", "Verb"},
            {0, "egg", "Ei", "Food", "Noun"},
            {0, "house", "Haus", "Home", "Noun"}};
}

class frmTrans* openTrans() {
    class frmTrans* f = frmTrans();
    f->Show(vbModeless);
    f->activateNow();
    return f;
}

void choose(QComboBox* box, const QString& name) {
    const int i = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(i >= 0, qPrintable(name));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

// The grid's rows below the heading, cells 0 to 2 (and the type) joined by "|".
QStringList gridRows(class frmTrans* f) {
    QStringList out;
    const int cells = f->chkType->isChecked() ? 4 : 3;
    for (int r = 1; r < f->flxGrid->Rows(); ++r) {
        QStringList row;
        for (int c = 0; c < cells; ++c) row << f->flxGrid->TextMatrix(r, c);
        out << row.join(u'|');
    }
    return out;
}

// The user's steps to edit an entry: both words, category and type typed.
void fillEntry(class frmTrans* f, const QString& english, const QString& german, const QString& category,
               const QString& type) {
    f->txtAdd[0]->setText(english);
    f->txtAdd[1]->setText(german);
    f->cboCategory2->setEditText(category);
    f->cboType2->setEditText(type);
}

// Drops the label on one of the two pictures, where a drag with the mouse ends.
void drop(class frmTrans* f, Label* source, Image* target) {
    if (target == f->imgDelCatType) f->imgDelCatType_DragDrop(source);
    else f->imgRenCatType_DragDrop(source);
}

// The grid's cell, in the grid's viewport, where the mouse points at it.
QPoint cellPoint(class frmTrans* f, int row, int col) {
    FlexGrid* g = f->flxGrid;
    const int oldRow = g->Row(), oldCol = g->Col();
    g->setRow(row);
    g->setCol(col);
    const QPoint inGrid(Form::px(g->CellLeft() + g->CellWidth() / 2), Form::px(g->CellTop() + g->CellHeight() / 2));
    g->setRow(oldRow);
    g->setCol(oldCol);
    return g->viewport()->mapFrom(g, inGrid);
}

QList<Entry> allEntries() {
    return inStore([](Ado::Connection& c) { return VocStore::find(c, "%", "%", "%", "%", VocStore::Order::English); });
}

QStringList shownTexts() {
    QStringList out;
    for (const MsgBoxSeam::Shown& s : MsgBoxSeam::shown()) out << s.text;
    return out;
}

} // namespace

class TestTranslator : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp();
        VersionRaised = false;
        EntryCount = 0;
        LastAutoNr = 0;
    }
    void cleanup() { tearDown(); }

    // --- The store ----------------------------------------------------------------

    void valuesAsTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "don't";
        QTest::newRow("double quotes") << "say \"hi\"";
        QTest::newRow("percent") << "100%";
        QTest::newRow("underscore") << "a_b";
        QTest::newRow("dashes") << "x -- y";
        QTest::newRow("statement") << kSql;
        QTest::newRow("backslash") << "a\\%b";
    }
    void valuesAsTyped() {
        QFETCH(QString, text);
        seed({{0, text, text + "!", text, text}, {0, "other", "andere", "a", "b"}, {0, "other", "andere", "ab", "b"}});
        const QList<Entry> listed =
            inStore([&](Ado::Connection& c) { return VocStore::listCategory(c, text, VocStore::Order::English); });
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].english, text);
        QCOMPARE(listed[0].german, text + "!");
        QCOMPARE(listed[0].type, text);
        // The duplicate check looks for the text itself, not a pattern.
        const int similar = inStore([&](Ado::Connection& c) {
            return int(VocStore::find(c, VocStore::containsLiteral(text), "%", "%", "%", VocStore::Order::English).size());
        });
        QCOMPARE(similar, 1);
        QVERIFY(inStore([](Ado::Connection& c) { return c.hasTable("Vocabulary"); }));
    }

    void namesExact_data() {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QStringList>("englishOfFood");
        QTest::newRow("delete Food keeps food") << false << QStringList{"food", "Home"} << QStringList{};
        QTest::newRow("rename Food keeps food") << true << QStringList{"food", "Home", "Meals"} << QStringList{};
    }
    void namesExact() {
        QFETCH(bool, rename);
        QFETCH(QStringList, categories);
        QList<Entry> entries = fruit();
        entries << Entry{0, "soup", "Suppe", "food", "Noun"};
        seed(entries);
        const bool done = inStore([&](Ado::Connection& c) {
            if (rename) return VocStore::renameCategory(c, "Food", "Meals");
            VocStore::deleteCategory(c, "Food");
            return true;
        });
        QVERIFY(done);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::categories(c); }), categories);
        const QList<Entry> small =
            inStore([](Ado::Connection& c) { return VocStore::listCategory(c, "food", VocStore::Order::English); });
        QCOMPARE(small.size(), 1);
        QCOMPARE(small[0].english, QString("soup"));
        const int meals =
            inStore([](Ado::Connection& c) { return int(VocStore::listCategory(c, "Meals", VocStore::Order::English).size()); });
        QCOMPARE(meals, rename ? 5 : 0);
    }

    void renameRefusesTakenName_data() {
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("own name") << "Food" << false;
        QTest::newRow("other existing") << "Home" << false;
        QTest::newRow("own name in other case") << "FOOD" << true;
    }
    void renameRefusesTakenName() {
        QFETCH(QString, to);
        QFETCH(bool, renamed);
        seed(fruit());
        QCOMPARE(inStore([&](Ado::Connection& c) { return VocStore::renameCategory(c, "Food", to); }), renamed);
    }

    void failedRenameChangesNothing() {
        seed(fruit());
        inStore([](Ado::Connection& c) {
            c.Execute("Create Trigger refuse Before Update On Category Begin Select Raise(Abort, 'refused'); End");
            bool threw = false;
            try {
                VocStore::renameCategory(c, "Food", "Meals");
            } catch (const RuntimeError&) {
                threw = true;
            }
            return threw;
        });
        const int food =
            inStore([](Ado::Connection& c) { return int(VocStore::listCategory(c, "Food", VocStore::Order::English).size()); });
        QCOMPARE(food, 5);
        const int meals =
            inStore([](Ado::Connection& c) { return int(VocStore::listCategory(c, "Meals", VocStore::Order::English).size()); });
        QCOMPARE(meals, 0);
    }

    void caseBlindMatch_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("capital umlaut") << "Über" << QStringList{"über"};
        QTest::newRow("all capitals") << "RÖNTGEN" << QStringList{"Röntgen"};
        QTest::newRow("accented capitals") << "ÉTÉ" << QStringList{"été"};
        QTest::newRow("one character for an umlaut") << "r_ntgen" << QStringList{"Röntgen"};
        QTest::newRow("any run") << "%BER" << QStringList{"über"};
        QTest::newRow("literal percent") << VocStore::containsLiteral("0%") << QStringList{"50% ÖL"};
        QTest::newRow("no match") << "uber" << QStringList{};
        QTest::newRow("SS for a sharp s") << "STRASSE" << QStringList{"Straße"};
        QTest::newRow("sharp s for ss") << "maß%" << QStringList{"Masse"};
        QTest::newRow("duplicate check: SS for a sharp s") << VocStore::containsLiteral("RASSE") << QStringList{"Straße"};
        QTest::newRow("one character for a sharp s") << "stra_e" << QStringList{"Straße"};
    }
    void caseBlindMatch() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, found);
        seed({{0, "über", "over", "C", "T"}, {0, "Röntgen", "x-ray", "C", "T"}, {0, "été", "summer", "C", "T"},
              {0, "50% ÖL", "oil", "C", "T"}, {0, "500 ol", "oil", "C", "T"}, {0, "Straße", "street", "C", "T"},
              {0, "Masse", "mass", "C", "T"}});
        const QList<Entry> hits =
            inStore([&](Ado::Connection& c) { return VocStore::find(c, pattern, "%", "%", "%", VocStore::Order::English); });
        QStringList words;
        for (const Entry& e : hits) words << e.english;
        QCOMPARE(words, found);
    }

    void germanOrder_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("umlauts with their letters") << QStringList{"Zoo", "Über", "Apfel", "Ärger", "ober"}
                                                    << QStringList{"Apfel", "Ärger", "ober", "Über", "Zoo"};
        QTest::newRow("sharp s as ss") << QStringList{"Straut", "Strauß", "Straus", "Strauch"}
                                       << QStringList{"Strauch", "Straus", "Strauß", "Straut"};
        QTest::newRow("case-blind, ties exact") << QStringList{"birne", "apfel", "Apfel", "Birne"}
                                                << QStringList{"Apfel", "apfel", "Birne", "birne"};
    }
    void germanOrder() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, ordered);
        QList<Entry> entries;
        for (const QString& n : names) entries << Entry{0, n, n, n, n};
        seed(entries);
        QStringList byEnglish, byGerman;
        for (const Entry& e : allEntries()) byEnglish << e.english;
        const QList<Entry> german =
            inStore([](Ado::Connection& c) { return VocStore::find(c, "%", "%", "%", "%", VocStore::Order::German); });
        for (const Entry& e : german) byGerman << e.german;
        QCOMPARE(byEnglish, ordered);
        QCOMPARE(byGerman, ordered);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::categories(c); }), ordered);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::types(c); }), ordered);
    }

    void versionText_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("edition");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals") << QLocale::c() << 1.25 << "1.25";
        QTest::newRow("one decimal") << QLocale::c() << 1.1 << "1.1";
        QTest::newRow("whole") << QLocale::c() << 2.0 << "2";
        QTest::newRow("rounded to thousandths") << QLocale::c() << 1.0004 << "1";
        QTest::newRow("comma") << kGerman << 1.25 << "1,25";
    }
    void versionText() {
        QFETCH(QLocale, locale);
        QFETCH(double, edition);
        QFETCH(QString, shown);
        setLocale(locale);
        seed({}, edition);
        QCOMPARE(openTrans()->lblVersion->Caption(), "v " + shown);
    }

    // --- Opening -----------------------------------------------------------------

    void newStoreIsCreated_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no file") << "none";
        QTest::newRow("empty file") << "0 bytes";
        QTest::newRow("database without tables") << "no tables";
    }
    void newStoreIsCreated() {
        QFETCH(QString, file);
        if (file == "0 bytes") writeFile("Voc.mdb", {});
        if (file == "no tables") {
            Ado::Connection c("Empty");
            c.Open(vocFile());
            c.Execute("Create Table Gone (x Text)");
            c.Execute("Drop Table Gone");
            c.Close();
        }
        class frmTrans* f = openTrans();
        QCOMPARE(f->lblVersion->Caption(), QString("v 1"));
        QCOMPARE(f->cboCategory->count(), 0);
        QVERIFY(f->cmdInterpret->isEnabled());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // A store the program cannot use, or cannot repair, is left as it is,
    // with one message and every button that needs it off.
    void foreignFileIsLeftAlone_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<int>("zeroedAt"); // two bytes of the file zeroed there afterwards; -1 none
        QTest::addColumn<QString>("reason");
        const QStringList names{"Create Table Category (Category Text)", "Create Table Type (Type Text)",
                                "Create Table Version (Version Double)", "Insert Into Version Values (1)"};
        const QString unnumbered = "3078: The field AutoNr of the table Vocabulary is not numbered by the database";
        const QString words = "Create Table Vocabulary (AutoNr Integer Primary Key AutoIncrement, English Text, "
                              "German Text, Category Text, Type Text)";
        QTest::newRow("not a database") << QStringList{} << -1 << "file is not a database";
        QTest::newRow("another database") << QStringList{"Create Table Accounts (Nr Text)"} << -1
                                          << "3078: The database holds no vocabulary tables";
        QTest::newRow("AutoNr a plain column")
            << QStringList{"Create Table Vocabulary (AutoNr Integer, English Text, German Text, Category Text, Type Text)"} +
                   names
            << -1 << unnumbered;
        QTest::newRow("AutoNr a descending key")
            << QStringList{"Create Table Vocabulary (AutoNr Integer Primary Key Desc, English Text, German Text, "
                           "Category Text, Type Text)"} +
                   names
            << -1 << unnumbered;
        QTest::newRow("edition lost, repair refused (read-only, locked)")
            << QStringList{words, "Create Table Category (Category Text)", "Create Table Type (Type Text)",
                           "Create Table Version (Version Double)",
                           "Create Trigger refuse Before Insert On Version Begin Select Raise(Abort, 'refused'); End"}
            << -1 << "refused";
        // The count of the first page's table list: the store would look empty.
        QTest::newRow("table list of the first page damaged")
            << QStringList{words} + names +
                   QStringList{"Insert Into Category Values ('Pets')", "Insert Into Type Values ('Noun')",
                               "Insert Into Vocabulary (English, German, Category, Type) Values ('dog', 'Hund', 'Pets', 'Noun')"}
            << 103 << "11: database disk image is malformed";
    }
    void foreignFileIsLeftAlone() {
        QFETCH(QStringList, statements);
        QFETCH(int, zeroedAt);
        QFETCH(QString, reason);
        if (statements.isEmpty()) {
            writeFile("Voc.mdb", "These are my notes, not a database.\r\n");
        } else {
            Ado::Connection c("Other");
            c.Open(vocFile());
            for (const QString& sql : statements) c.Execute(sql);
            c.Close();
        }
        if (zeroedAt >= 0) writeFile("Voc.mdb", readFile("Voc.mdb").replace(zeroedAt, 2, QByteArray(2, '\0')));
        const QByteArray before = readFile("Voc.mdb");
        class frmTrans* f = openTrans();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith("Problem: OpenTransConnection\n"));
        QVERIFY2(MsgBoxSeam::last().text.contains(reason), qPrintable(MsgBoxSeam::last().text));
        // The one message says why the buttons are off.
        QVERIFY(MsgBoxSeam::last().text.endsWith(
            "\n\nThe word store \"" + QDir::toNativeSeparators(vocFile()) +
            "\" cannot be used: adding, changing, deleting, searching and printing words are off until it opens."));
        for (QWidget* b : QList<QWidget*>{f->cmdAdd, f->cmdDel, f->cmdUpd, f->cmdFind, f->cmdPrint, f->cmdInterpret})
            QVERIFY2(!b->isEnabled(), qPrintable(b->accessibleName()));
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(f->lblVersion->Caption(), QString());
        // Still usable: it resizes, stays visible and closes to the menu.
        f->resize(f->width() + 100, f->height() + 50);
        QVERIFY(f->isVisible());
        QVERIFY(f->Unload());
        QCOMPARE(readFile("Voc.mdb"), before);
    }

    void lostEditionPutBack_data() {
        QTest::addColumn<QString>("loss");
        QTest::newRow("empty edition table") << "Delete From Version";
        QTest::newRow("no edition table") << "Drop Table Version";
    }
    void lostEditionPutBack() {
        QFETCH(QString, loss);
        seed(fruit());
        const QList<Entry> before = allEntries();
        inStore([&](Ado::Connection& c) { return c.Execute(loss); });
        class frmTrans* f = openTrans();
        QCOMPARE(f->lblVersion->Caption(), QString("v 1"));
        fillEntry(f, "milk", "Milch", "Food", "Noun");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(f->lblVersion->Caption(), QString("v 1.001"));
        QCOMPARE(allEntries().mid(0, 4), before.mid(0, 4));
        QCOMPARE(allEntries().size(), before.size() + 1);
    }

    // The store lies beside a program whose folder cannot be written, and
    // the data folder is on a full disk: the copy there fails, is told, and
    // leaves nothing behind; once the disk has room, every word is there.
    void failedCopyLeavesNothing() {
        seed(fruit());
        const QByteArray store = readFile("Voc.mdb");
        App::setProgramFolderWritable(false);
        Storage::failWritesAfter(4096);
        class frmTrans* f = openTrans();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY2(MsgBoxSeam::last().text.startsWith("Problem: OpenTransConnection\n61: Disk full (\"" +
                                                    QDir::toNativeSeparators(App::file("Voc.mdb")) +
                                                    "\" could not be copied)\n\n"),
                 qPrintable(MsgBoxSeam::last().text));
        QVERIFY(!f->cmdAdd->isEnabled());
        // Nothing but the mark that the data lives there.
        QCOMPARE(QDir(App::dataFolder())
                     .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(App::dataFolderMark()).fileName()});
        QVERIFY(f->Unload());
        Storage::failWritesAfter(std::nullopt);
        f = openTrans();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(f->cboCategory->count(), 2);
        choose(f->cboCategory, "Food");
        QCOMPARE(f->flxGrid->Rows(), 6);
        QCOMPARE(readFile("Voc.mdb"), store);
    }

    // The session ends with the translator and the interpreter open (the
    // program's End, or the display server gone): the program ends without
    // a fault, the word it stored kept.
    void sessionEndsCleanly_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("event loop ends") << "end" << 0;
        QTest::newRow("process exits inside the loop") << "exit" << 1;
    }
    void sessionEndsCleanly() {
        QFETCH(QString, how);
        QFETCH(int, exitCode);
        QProcess session;
        session.start(QStringLiteral(SESSION_END), {App::path(), how});
        QVERIFY(session.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(session.readAllStandardError());
        QCOMPARE(session.exitStatus(), QProcess::NormalExit);
        QVERIFY2(session.exitCode() == exitCode, qPrintable(errors));
        QVERIFY2(!errors.contains("runtime error") && !errors.contains("Sanitizer"), qPrintable(errors));
        QCOMPARE(allEntries(), (QList<Entry>{{1, "dog", "Hund", "Pets", "Noun"}}));
    }

    void menuOpensAndCloses() {
        seed(fruit());
        frmChoice()->Show(vbModeless);
        QTest::mouseClick(frmChoice()->cmdTrans, Qt::LeftButton);
        QVERIFY(isFormLoaded<class frmTrans>());
        QVERIFY(frmTrans()->isVisible());
        QVERIFY(!frmChoice()->isVisible());
        frmTrans()->lblCtrl[0]->click();
        processEvents();
        QVERIFY(!isFormLoaded<class frmTrans>());
        QVERIFY(frmChoice()->isVisible());
        QVERIFY(cnTrans == nullptr);
    }

    void germanTexts() {
        CurrentLanguage = "German";
        seed(fruit());
        class frmTrans* f = openTrans();
        QCOMPARE(f->Caption(), QString("ZOV Fortgeschrittener Übersetzer"));
        QVERIFY(f->optGerman->isChecked());
        QCOMPARE(f->flxGrid->TextMatrix(0, 1).trimmed(), QString("Deutscher Wortschatz"));
        QCOMPARE(f->cmdAdd->accessibleName(), QString("Hinzu"));
        QCOMPARE(f->flxGrid->accessibleName(), QString("Wortschatz"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f->lblCtrl[0])->text(QAccessible::Name), QString("Schließen"));
        choose(f->cboCategory, "Food");
        QCOMPARE(gridRows(f).first(), QString("1|Apfel|apple"));
    }

    void boxesNamedByCaptions_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("English") << "English" << QStringList{"Category", "Type", "English", "German", "Category", "Type"};
        QTest::newRow("German") << "German" << QStringList{"Bereich", "Art", "Englisch", "Deutsch", "Bereich", "Art"};
    }
    void boxesNamedByCaptions() {
        QFETCH(QString, language);
        QFETCH(QStringList, names);
        CurrentLanguage = language;
        seed(fruit());
        class frmTrans* f = openTrans();
        QStringList labelled, named;
        for (QWidget* box : QList<QWidget*>{f->cboCategory, f->cboType, f->txtAdd[0], f->txtAdd[1], f->cboCategory2, f->cboType2}) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
            const auto labels = a->relations(QAccessible::Label);
            labelled << (labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name));
            named << a->text(QAccessible::Name);
        }
        QCOMPARE(labelled, names);
        // Empty, each box is called by its caption.
        QCOMPARE(named, names);
        // A label is announced by its caption.
        QCOMPARE(QAccessible::queryAccessibleInterface(f->lblCategory)->text(QAccessible::Name), names[0]);
    }

    // The grid's headings, padded with blanks to fill their columns, are
    // heard by their words alone.
    void headingsHeardWithoutPadding_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("English") << "English" << QStringList{"No.", "English Vocabulary", "German Vocabulary"};
        QTest::newRow("German") << "German" << QStringList{"No.", "Deutscher Wortschatz", "Englischer Wortschatz"};
    }
    void headingsHeardWithoutPadding() {
        QFETCH(QString, language);
        CurrentLanguage = language;
        seed(fruit());
        ReaderListening reader;
        class frmTrans* f = openTrans();
        f->resize(f->width() + 300, f->height());
        processEvents();
        QVERIFY(f->flxGrid->TextMatrix(0, 1).endsWith(u' '));
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(f->flxGrid);
        QStringList heard;
        for (int i = 0; i < grid->childCount(); ++i)
            if (QAccessibleInterface* cell = grid->child(i); cell && cell->role() == QAccessible::ColumnHeader)
                heard << cell->text(QAccessible::Name);
        QTEST(heard, "headings");
    }

    // --- Listing and searching --------------------------------------------------------

    void listing_data() {
        QTest::addColumn<bool>("germanFirst");
        QTest::addColumn<bool>("typeColumn");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("by English") << false << false
                                    << QStringList{"1|apple|Apfel", "2|bread|Brot", "3|cheese|Käse", "4|egg|Ei",
                                                   "5|to eat|essen"};
        QTest::newRow("by German") << true << false
                                   << QStringList{"1|Apfel|apple", "2|Brot|bread", "3|Ei|egg", "4|essen|to eat",
                                                  "5|Käse|cheese"};
        QTest::newRow("with types") << false << true
                                    << QStringList{"1|apple|Apfel|Noun", "2|bread|Brot|Noun", "3|cheese|Käse|Noun",
                                                   "4|egg|Ei|Noun", "5|to eat|essen|Verb"};
    }
    void listing() {
        QFETCH(bool, germanFirst);
        QFETCH(bool, typeColumn);
        QFETCH(QStringList, rows);
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        if (germanFirst) QTest::mouseClick(f->optGerman, Qt::LeftButton, {}, QPoint(5, 5));
        if (typeColumn) QTest::mouseClick(f->chkType, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(gridRows(f), rows);
        QCOMPARE(EntryCount, qint64(5));
        QCOMPARE(f->prgBar->value(), f->prgBar->maximum());
        // The AutoNr column stays hidden in both layouts.
        QCOMPARE(f->flxGrid->ColWidth(typeColumn ? 4 : 3) <= 1, true);
    }

    void search_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("all fields empty") << "" << ""
                                          << QStringList{"1|apple|Apfel", "2|bread|Brot", "3|cheese|Käse", "4|egg|Ei",
                                                         "5|house|Haus", "6|to eat|essen"};
        QTest::newRow("contained, any case") << "E" << "Home" << QStringList{"1|house|Haus"};
        QTest::newRow("user's underscore") << "e_g" << "" << QStringList{"1|egg|Ei"};
        QTest::newRow("user's percent") << "h%s" << "" << QStringList{"1|cheese|Käse", "2|house|Haus"};
        QTest::newRow("nothing found") << "x_y" << "" << QStringList{};
        QTest::newRow("user's underscore matches") << "ch__se" << "" << QStringList{"1|cheese|Käse"};
    }
    void search() {
        QFETCH(QString, english);
        QFETCH(QString, category);
        QFETCH(QStringList, rows);
        seed(fruit());
        class frmTrans* f = openTrans();
        fillEntry(f, english, "", category, "");
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QCOMPARE(gridRows(f), rows);
        QCOMPARE(shownTexts(), rows.isEmpty() ? QStringList{"No records found"} : QStringList{});
    }

    void findNarrowsByListedName_data() {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("other");
        QTest::newRow("underscore in the name") << "a_b" << "axb";
        QTest::newRow("name in other case") << "Food" << "food";
    }
    void findNarrowsByListedName() {
        QFETCH(QString, listed);
        QFETCH(QString, other);
        seed({{0, "mine", "meins", listed, "Noun"}, {0, "other", "anderes", other, "Noun"}});
        class frmTrans* f = openTrans();
        choose(f->cboCategory, listed);
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QCOMPARE(gridRows(f), QStringList{"1|mine|meins"});
    }

    // Find replaces whatever the grid shows: also a word just added in
    // place to a listed category that had none (no listing counted yet).
    void findReplacesAnAddedRow() {
        seed(fruit());
        inStore([](Ado::Connection& c) { return VocStore::addCategory(c, "Drinks"), true; });
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Drinks");
        fillEntry(f, "tea", "Tee", "Drinks", "Noun");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(gridRows(f), QStringList{"1|tea|Tee"});
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QCOMPARE(gridRows(f), QStringList{"1|tea|Tee"});
        QCOMPARE(shownTexts(), QStringList{"No records found"});
    }

    void typeColumnOverSearchResults() {
        seed(fruit());
        class frmTrans* f = openTrans();
        fillEntry(f, "ea", "", "", "");
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QTest::mouseClick(f->chkType, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(gridRows(f), (QStringList{"1|bread|Brot|Noun", "2|to eat|essen|Verb"}));
        f->flxGrid->clickCell(2, 1);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(f->cboType2->currentText(), QString("Verb"));
    }

    // A long listing moves the bar by whole percents, not once a row: each
    // change of the bar is announced to screen readers.
    void longListingMovesBarByPercents() {
        QList<Entry> words;
        for (int i = 0; i < 1000; ++i) words << Entry{0, QString("w%1").arg(i, 4, 10, QChar('0')), "x", "Many", "Noun"};
        seed(words);
        class frmTrans* f = openTrans();
        QSignalSpy changes(f->prgBar, &QProgressBar::valueChanged);
        choose(f->cboCategory, "Many");
        QCOMPARE(f->flxGrid->Rows(), 1001);
        QVERIFY2(changes.size() <= 101, qPrintable(QString::number(changes.size())));
        QCOMPARE(f->prgBar->maximum(), 1000);
        QCOMPARE(f->prgBar->value(), 1000);
    }

    // A tab in a value stays in its cell, so the hidden AutoNr column keeps
    // the row's entry: Update changes cheese, never the entry the number
    // after the tab names. The name boxes and the rename box take no tab.
    void tabStaysInItsCell_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("type");
        QTest::newRow("type pasted with a tab") << "paste" << "Noun 2";
        QTest::newRow("type renamed to a name with a tab") << "rename" << "Noun2";
        QTest::newRow("tab in a type stored elsewhere") << "stored" << "Noun\t2";
    }
    void tabStaysInItsCell() {
        QFETCH(QString, how);
        QFETCH(QString, type);
        const QString withTab = "Noun\t2";
        seed(fruit());
        if (how == "stored") inStore([&](Ado::Connection& c) {
            VocStore::addType(c, withTab);
            return c.Execute("Update Vocabulary Set Type = ? Where English = 'cheese'", {withTab});
        });
        class frmTrans* f = openTrans();
        QTest::mouseClick(f->chkType, Qt::LeftButton, {}, QPoint(5, 5));
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(3, 1);
        if (how == "paste") {
            QApplication::clipboard()->setText(withTab);
            f->cboType2->setEditText(QString());
            typeKeys(f->cboType2->lineEdit(), "^V");
            QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        }
        if (how == "rename") {
            MsgBoxSeam::queueAnswer(vbYes);
            MsgBoxSeam::queueInput(withTab);
            drop(f, f->lblType2, f->imgRenCatType);
        }
        choose(f->cboCategory, "Food");
        QCOMPARE(gridRows(f)[2], "3|cheese|Käse|" + type);
        f->flxGrid->clickCell(3, 1);
        f->txtAdd[1]->setText("Bergkäse");
        QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::entry(c, 3)->german; }), QString("Bergkäse"));
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::entry(c, 2)->german; }), QString("Brot"));
    }

    // Ctrl+C in the empty word list (no category chosen, no current cell)
    // copies nothing and leaves the window as it was.
    void copyFromEmptyGrid() {
        seed(fruit());
        class frmTrans* f = openTrans();
        f->txtAdd[0]->setText("typed");
        QTest::mouseClick(f->flxGrid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(f->flxGrid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f->flxGrid->Rows(), 1);
        QCOMPARE(f->txtAdd[0]->text(), QString("typed"));
    }

    // Enter on the current row, scrolled out of sight, brings it into view
    // and lays the overlay over it, as high as the row.
    void enterOnRowOutOfView() {
        QList<Entry> words;
        for (int i = 1; i <= 60; ++i) words << Entry{0, QString("w%1").arg(i, 2, 10, QChar('0')), "x", "Many", "Noun"};
        seed(words);
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Many");
        f->flxGrid->setFocus();
        f->flxGrid->clickCell(2, 1);
        QScrollBar* bar = f->flxGrid->verticalScrollBar();
        bar->setValue(bar->maximum());
        QVERIFY(!f->fraDrag->isVisible());
        QTest::keyClick(f->flxGrid, Qt::Key_Return);
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(f->txtAdd[0]->text(), QString("w02"));
        const QRect cell = f->flxGrid->cellRect(2, 1);
        QVERIFY(f->flxGrid->viewport()->rect().contains(cell));
        QCOMPARE(f->fraDrag->y(), f->flxGrid->viewport()->mapTo(f, cell.topLeft()).y());
        QCOMPARE(f->fraDrag->height(), f->flxGrid->rowHeight(1));
    }

    // --- Adding, changing, deleting ----------------------------------------------------

    void addChecksFields_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::newRow("all empty") << QStringList{"", "", "", ""} << "Please enter English vocabulary";
        QTest::newRow("German empty") << QStringList{"a", "", "Food", "Noun"} << "Please enter German vocabulary";
        QTest::newRow("category empty") << QStringList{"a", "b", "", "Noun"} << "Please enter a vocabulary category";
        QTest::newRow("type empty") << QStringList{"a", "b", "Food", ""} << "Please enter a word type";
    }
    void addChecksFields() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        seed(fruit());
        class frmTrans* f = openTrans();
        fillEntry(f, fields[0], fields[1], fields[2], fields[3]);
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{message});
        QCOMPARE(inStore([](Ado::Connection& c) { return int(VocStore::find(c, "%", "%", "%", "%", VocStore::Order::English).size()); }), 6);
    }

    void addWithDuplicateCheck_data() {
        QTest::addColumn<bool>("duplicateCheck");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("stored");
        QTest::newRow("similar entry listed") << true << "hous" << "Haus" << QStringList{"Similar entry already exists"}
                                              << QStringList{"1|house|Haus"} << 6;
        QTest::newRow("umlaut in other case") << true << "CHEESE" << "KÄSE" << QStringList{"Similar entry already exists"}
                                              << QStringList{"1|cheese|Käse"} << 6;
        QTest::newRow("check off") << false << "hous" << "Haus" << QStringList{} << QStringList{"1|apple|Apfel", "2|bread|Brot", "3|cheese|Käse", "4|egg|Ei", "5|to eat|essen", "6|hous|Haus"} << 7;
    }
    void addWithDuplicateCheck() {
        QFETCH(bool, duplicateCheck);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, rows);
        QFETCH(int, stored);
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->chkDuplicate->setChecked(duplicateCheck);
        fillEntry(f, english, german, "Food", "Noun");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(shownTexts(), messages);
        QCOMPARE(gridRows(f), rows);
        QCOMPARE(inStore([](Ado::Connection& c) { return int(VocStore::find(c, "%", "%", "%", "%", VocStore::Order::English).size()); }), stored);
    }

    void typedValuesStoredAndListed() {
        seed(fruit());
        class frmTrans* f = openTrans();
        f->chkShowUpdate->setChecked(true);
        fillEntry(f, kSql, "50% _x_", kSql, "it's");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(f->cboCategory->currentText(), kSql);
        QCOMPARE(gridRows(f), QStringList{"1|" + kSql + "|50% _x_"});
        QVERIFY(f->cboType->findText("it's") >= 0);
        QCOMPARE(f->lblVersion->Caption(), QString("v 1.001"));
    }

    // A name typed into the entry's boxes is filed as typed: no completion,
    // no listed name in other letter case put in its place.
    void typedNamesStayAsTyped_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("stored");
        QTest::newRow("other case, Return") << "food\r" << "food";
        QTest::newRow("beginning of a name, Tab") << "Bas\t" << "Bas";
    }
    void typedNamesStayAsTyped() {
        QFETCH(QString, keys);
        QFETCH(QString, stored);
        QList<Entry> entries = fruit();
        entries << Entry{0, "soup", "Suppe", "Foods", "Noun"} << Entry{0, "hello", "hallo", "Basics", "Noun"};
        seed(entries);
        class frmTrans* f = openTrans();
        fillEntry(f, "milk", "Milch", "Food", "Noun");
        QComboBox* box = f->cboCategory2;
        box->setEditText(QString());
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        box->setFocus();
        typeKeys(box->lineEdit(), keys.left(keys.size() - 1));
        QTest::keyClick(box->lineEdit(), keys.endsWith(u'\t') ? Qt::Key_Tab : Qt::Key_Return);
        QCOMPARE(box->currentText(), stored);
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        const QList<Entry> milk =
            inStore([](Ado::Connection& c) { return VocStore::find(c, "milk", "%", "%", "%", VocStore::Order::English); });
        QCOMPARE(milk.size(), 1);
        QCOMPARE(milk[0].category, stored);
    }

    void keysGiveUmlauts() {
        seed({});
        class frmTrans* f = openTrans();
        typeKeys(f->txtAdd[1], "'; [ \": {");
        QCOMPARE(f->txtAdd[1]->text(), QString("äö ü ÄÖ Ü"));
    }

    // The umlaut keys are for typing: a pasted word keeps its characters
    // and is found as it stands.
    void searchForPastedWord() {
        seed({{0, "o'clock", "Uhr", "Time", "Noun"}});
        class frmTrans* f = openTrans();
        QApplication::clipboard()->setText("o'clock");
        typeKeys(f->txtAdd[0], "^V");
        QCOMPARE(f->txtAdd[0]->Text(), QString("o'clock"));
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QCOMPARE(gridRows(f), QStringList{"1|o'clock|Uhr"});
    }

    void updateAndDeleteAbove32767() {
        seed({{40000, "cat", "Katze", "Pets", "Noun"}, {40001, "dog", "Hund", "Pets", "Noun"}});
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Pets");
        f->flxGrid->clickCell(2, 1);
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(f->txtAdd[0]->text(), QString("dog"));
        QCOMPARE(f->cboCategory2->currentText(), QString("Pets"));
        QCOMPARE(f->cboType2->currentText(), QString("Noun"));
        f->txtAdd[1]->setText("Hündchen");
        QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(LastAutoNr, qint64(40001));
        QCOMPARE(gridRows(f), (QStringList{"1|cat|Katze", "2|dog|Hündchen"}));
        f->flxGrid->clickCell(2, 1);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QString("Do you really want to remove the entry '2'"));
        QCOMPARE(gridRows(f), QStringList{"1|cat|Katze"});
        QVERIFY(!inStore([](Ado::Connection& c) { return VocStore::entry(c, 40001).has_value(); }));
    }

    void editorKeepsItsEntry_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("overlayOpen");
        QTest::addColumn<QStringList>("messages");
        const QStringList notShown{"Select entry first"};
        const QStringList question{"Do you really want to remove the entry '2'"};
        QTest::newRow("Down, Update") << "Down" << true << false << notShown;
        QTest::newRow("PageDown, Update") << "PageDown" << true << false << notShown;
        QTest::newRow("Up, Update") << "Up" << true << false << notShown;
        QTest::newRow("right click, Update") << "right click" << true << false << notShown;
        QTest::newRow("Down, Delete") << "Down" << false << false << notShown;
        QTest::newRow("PageUp, Delete") << "PageUp" << false << false << notShown;
        QTest::newRow("right click, Delete") << "right click" << false << false << notShown;
        QTest::newRow("row made current by code, Update") << "code" << true << true << QStringList{};
        QTest::newRow("row made current by code, Delete") << "code" << false << true << question;
    }
    void editorKeepsItsEntry() {
        QFETCH(QString, move);
        QFETCH(bool, update);
        QFETCH(bool, overlayOpen);
        QFETCH(QStringList, messages);
        seed(fruit());
        const QList<Entry> before = allEntries();
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->setFocus();
        f->flxGrid->clickCell(2, 1);
        QCOMPARE(f->txtAdd[0]->text(), QString("bread"));
        const QPoint row4 = cellPoint(f, 4, 1);
        if (move == "Down") QTest::keyClick(f->flxGrid, Qt::Key_Down);
        if (move == "PageDown") QTest::keyClick(f->flxGrid, Qt::Key_PageDown);
        if (move == "Up") QTest::keyClick(f->flxGrid, Qt::Key_Up);
        if (move == "PageUp") QTest::keyClick(f->flxGrid, Qt::Key_PageUp);
        if (move == "right click") QTest::mouseClick(f->flxGrid->viewport(), Qt::RightButton, {}, row4);
        if (move == "code") f->flxGrid->setRow(4);
        QVERIFY(f->flxGrid->Row() != 2);
        QCOMPARE(f->fraDrag->isVisible(), overlayOpen);
        f->txtAdd[1]->setText("Brötchen");
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(update ? f->cmdUpd : f->cmdDel, Qt::LeftButton);
        QCOMPARE(shownTexts(), messages);
        // Only the entry the overlay showed (bread) may change; the row made current never.
        QList<Entry> expected = before;
        if (overlayOpen && update) expected[1].german = "Brötchen";
        if (overlayOpen && !update) expected.removeAt(1);
        QCOMPARE(allEntries(), expected);
    }

    void inPlaceUpdateRewritesType() {
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        QTest::mouseClick(f->chkType, Qt::LeftButton, {}, QPoint(5, 5));
        f->flxGrid->clickCell(3, 1);
        choose(f->cboType2, "Verb");
        QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(gridRows(f)[2], QString("3|cheese|Käse|Verb"));
    }

    void deleteFirstRowClearsGrid() {
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(1, 1);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        QCOMPARE(f->flxGrid->Rows(), 1);
        QCOMPARE(inStore([](Ado::Connection& c) { return int(VocStore::listCategory(c, "Food", VocStore::Order::English).size()); }), 4);
    }

    void updateWithNewTypeListsTheEntry() {
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(3, 1);
        f->cboType2->setEditText("Dairy");
        QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{});
        QCOMPARE(gridRows(f).size(), 5);
        QCOMPARE(gridRows(f)[2], QString("3|cheese|Käse"));
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::entry(c, 3)->type; }), QString("Dairy"));
    }

    void reloadOnModification_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("currentRow");
        QTest::newRow("30 entries: eight rows past the new one") << 30 << 13;
        QTest::newRow("10 entries: the new one") << 10 << 5;
    }
    void reloadOnModification() {
        QFETCH(int, entries);
        QFETCH(int, currentRow);
        QList<Entry> words;
        for (int i = 1; i < entries; ++i)
            words << Entry{0, QString("w%1").arg(i < 5 ? i : i + 1, 2, 10, QChar('0')), "x", "Many", "Noun"};
        seed(words);
        class frmTrans* f = openTrans();
        f->chkShowUpdate->setChecked(true);
        fillEntry(f, "w05", "neu", "Many", "Noun");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(f->flxGrid->Rows(), entries + 1);
        QCOMPARE(f->flxGrid->TextMatrix(5, 1), QString("w05"));
        QCOMPARE(f->flxGrid->Row(), currentRow);
        // Deleting with reloading on looks for a row that is gone and stops.
        f->flxGrid->clickCell(5, 1);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        QCOMPARE(f->flxGrid->Rows(), entries);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
    }

    // A new category or word type that cannot be stored (another copy holds
    // the store, a full disk) stops the addition or update: its failure is
    // shown once, and the store, the lists and the edition stay as they were.
    void refusedNameChangesNothing_data() {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("message");
        QTest::newRow("add, new category") << false << "Category" << "Problem: CheckCatExist\n";
        QTest::newRow("update, new type after a new category") << true << "Type" << "Problem: CheckTypeExist\n";
    }
    void refusedNameChangesNothing() {
        QFETCH(bool, update);
        QFETCH(QString, refused);
        QFETCH(QString, message);
        seed(fruit());
        inStore([&](Ado::Connection& c) {
            return c.Execute(QString("Create Trigger refuse Before Insert On %1 Begin Select Raise(Abort, 'database is "
                                     "locked'); End")
                                 .arg(refused));
        });
        const QList<Entry> before = allEntries();
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(1, 1);
        fillEntry(f, "dog", "Hund", "Pets", "Pet");
        QTest::mouseClick(update ? f->cmdUpd : f->cmdAdd, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY2(MsgBoxSeam::last().text.startsWith(message), qPrintable(MsgBoxSeam::last().text));
        QCOMPARE(allEntries(), before);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::categories(c); }), (QStringList{"Food", "Home"}));
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::types(c); }), (QStringList{"Noun", "Verb"}));
        QCOMPARE(f->cboCategory2->findText("Pets"), -1);
        QCOMPARE(f->cboType2->findText("Pet"), -1);
        QCOMPARE(f->lblVersion->Caption(), QString("v 1"));
    }

    // A disk that fails for a moment while a change is stored with its
    // raised edition: the change stops there with one message (no step runs
    // on outside the transaction), and the words, the names and the edition
    // stay as they were.
    void failedWriteStoresNothing_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("add, new category") << "add";
        QTest::newRow("update") << "update";
        QTest::newRow("delete") << "delete";
        QTest::newRow("rename category") << "rename category";
        QTest::newRow("delete category") << "delete category";
        QTest::newRow("rename type") << "rename type";
        QTest::newRow("delete type") << "delete type";
    }
    void failedWriteStoresNothing() {
        QFETCH(QString, change);
        seed(fruit());
        const QList<Entry> before = allEntries();
        class frmTrans* f = openTrans();
        failDatabaseWriteWhen(*cnTrans, "Before Update On Version");
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(1, 1);
        MsgBoxSeam::queueAnswer(vbYes);
        if (change == "add") {
            fillEntry(f, "dog", "Hund", "Pets", "Noun");
            QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        } else if (change == "update") {
            f->txtAdd[1]->setText("Äpfel");
            QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        } else if (change == "delete") {
            QTest::mouseClick(f->cmdDel, Qt::LeftButton);
        } else {
            const bool type = change.endsWith("type");
            choose(type ? f->cboType2 : f->cboCategory2, type ? "Verb" : "Food");
            MsgBoxSeam::queueInput("Other");
            drop(f, type ? f->lblType2 : f->lblCategory2,
                 change.startsWith("rename") ? f->imgRenCatType : f->imgDelCatType);
        }
        QCOMPARE(problemsShown(), QStringList{"Problem: UpdVersion\n778: disk I/O error"});
        QCOMPARE(allEntries(), before);
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::categories(c); }), (QStringList{"Food", "Home"}));
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::types(c); }), (QStringList{"Noun", "Verb"}));
        QCOMPARE(inStore([](Ado::Connection& c) { return VocStore::version(c); }), 1.0);
        QCOMPARE(f->lblVersion->Caption(), QString("v 1"));
        // No wait cursor is left behind.
        QVERIFY(f->cursor().shape() != Qt::WaitCursor);
    }

    void newEmptiesAllButCategory() {
        seed(fruit());
        class frmTrans* f = openTrans();
        fillEntry(f, "a", "b", "Food", "Noun");
        QTest::mouseClick(f->cmdNew, Qt::LeftButton);
        QCOMPARE((QStringList{f->txtAdd[0]->text(), f->txtAdd[1]->text(), f->cboCategory2->currentText(),
                              f->cboType2->currentText()}),
                 (QStringList{"", "", "Food", ""}));
    }

    void missingCategoryKeepsChoice() {
        seed(fruit());
        inStore([](Ado::Connection& c) { return c.Execute("Delete From Category Where Category = 'Home'"); });
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(1, 1);
        QCOMPARE(f->cboCategory2->currentText(), QString("Food"));
        f->cboCategory->setCurrentIndex(-1);
        fillEntry(f, "house", "", "", "");
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        f->flxGrid->clickCell(1, 1);
        QVERIFY(shownTexts().contains(QString("Problem: GetCat\n3021: Either BOF or EOF is True, or the current record has "
                                              "been deleted. Requested operation requires a current record.")));
    }

    void editionRaisedOncePerRun() {
        seed(fruit(), 2.0);
        class frmTrans* f = openTrans();
        for (const char* word : {"one", "two"}) {
            fillEntry(f, word, word, "Food", "Noun");
            QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        }
        QCOMPARE(f->lblVersion->Caption(), QString("v 2.001"));
        QVERIFY(f->Unload());
        f = openTrans();
        fillEntry(f, "three", "drei", "Food", "Noun");
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QCOMPARE(f->lblVersion->Caption(), QString("v 2.001"));
    }

    // --- Categories and types by drag and drop ------------------------------------------

    void dragAndDrop_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<bool>("type");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("delete category") << false << false << false
                                         << "Do you really want to REMOVE the category 'Food' with all its contents"
                                         << QStringList{"Home"};
        QTest::newRow("delete category, German") << true << false << false
                                                 << "Möchten Sie wirklich den Bereich 'Food' mit all ihren Inhalten ENTFERNEN"
                                                 << QStringList{"Home"};
        QTest::newRow("rename type") << false << true << true
                                     << "Do you really want to RENAME the type'Verb' with all its contents"
                                     << QStringList{"Noun", "Verbum"};
    }
    void dragAndDrop() {
        QFETCH(bool, german);
        QFETCH(bool, type);
        QFETCH(bool, rename);
        QFETCH(QString, question);
        QFETCH(QStringList, names);
        if (german) CurrentLanguage = "German";
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(2, 1);
        QVERIFY(f->fraDrag->isVisible());
        choose(type ? f->cboType2 : f->cboCategory2, type ? "Verb" : "Food");
        MsgBoxSeam::queueAnswer(vbYes);
        if (rename) MsgBoxSeam::queueInput("Verbum");
        drop(f, type ? f->lblType2 : f->lblCategory2, rename ? f->imgRenCatType : f->imgDelCatType);
        QVERIFY(!MsgBoxSeam::shown().isEmpty());
        QCOMPARE(MsgBoxSeam::shown().first().text, question);
        // The emptied grid took the overlay with it: Update has no entry to act on.
        QVERIFY(!f->fraDrag->isVisible());
        QTest::mouseClick(f->cmdUpd, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, german ? QString("Wählen Sie zuerst einen Eintrag") : QString("Select entry first"));
        QCOMPARE(type ? inStore([](Ado::Connection& c) { return VocStore::types(c); })
                      : inStore([](Ado::Connection& c) { return VocStore::categories(c); }),
                 names);
        QStringList listed;
        for (int i = 0; i < (type ? f->cboType2 : f->cboCategory2)->count(); ++i)
            listed << (type ? f->cboType2 : f->cboCategory2)->itemText(i);
        QCOMPARE(listed, names);
        const int entries =
            inStore([](Ado::Connection& c) { return int(VocStore::find(c, "%", "%", "%", "%", VocStore::Order::English).size()); });
        QCOMPARE(entries, rename ? 6 : 1);
    }

    // The pictures are reached by Tab and act on Space, Enter and a reader's
    // press, on the category or word type the entry's boxes show: the drop's
    // questions, and first which of the two where both are shown.
    void picturesByKeys_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("which");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QStringList>("types");
        const QStringList cats{"Food", "Home"}, types{"Noun", "Verb"};
        QTest::newRow("Space on delete, category shown")
            << false << "Space" << false << "Food" << "" << 0
            << QStringList{"Do you really want to REMOVE the category 'Food' with all its contents"} << QStringList{"Home"}
            << types;
        QTest::newRow("Enter on rename, type shown")
            << false << "Return" << true << "" << "Verb" << 0
            << QStringList{"Do you really want to RENAME the type'Verb' with all its contents", "Please enter a new word type name"}
            << cats << QStringList{"Noun", "Verbum"};
        QTest::newRow("both shown, the type chosen")
            << false << "Space" << false << "Food" << "Verb" << int(vbNo)
            << QStringList{"Which do you want to delete: the category 'Food' (Yes) or the word type 'Verb' (No)?",
                           "Do you really want to REMOVE the type'Verb' with all its contents"}
            << cats << QStringList{"Noun"};
        QTest::newRow("both shown, cancelled")
            << false << "Return" << false << "Food" << "Verb" << int(vbCancel)
            << QStringList{"Which do you want to delete: the category 'Food' (Yes) or the word type 'Verb' (No)?"} << cats
            << types;
        QTest::newRow("reader's press on rename, the category chosen")
            << false << "press" << true << "Home" << "Noun" << int(vbYes)
            << QStringList{"Which do you want to rename: the category 'Home' (Yes) or the word type 'Noun' (No)?",
                           "Do you really want to RENAME the category 'Home' with all its contents",
                           "Please enter a new category name"}
            << QStringList{"Food", "Verbum"} << types;
        QTest::newRow("nothing shown") << false << "Space" << false << "" << "" << 0
                                       << QStringList{"Please select a category first"} << cats << types;
        QTest::newRow("German, both shown, the category chosen")
            << true << "Space" << false << "Food" << "Verb" << int(vbYes)
            << QStringList{"Was möchten Sie löschen: den Bereich 'Food' (Ja) oder die Wortart 'Verb' (Nein)?",
                           "Möchten Sie wirklich den Bereich 'Food' mit all ihren Inhalten ENTFERNEN"}
            << QStringList{"Home"} << types;
    }
    void picturesByKeys() {
        QFETCH(bool, german);
        QFETCH(QString, key);
        QFETCH(bool, rename);
        QFETCH(QString, category);
        QFETCH(QString, type);
        QFETCH(int, which);
        if (german) CurrentLanguage = "German";
        seed(fruit());
        class frmTrans* f = openTrans();
        Image* picture = rename ? f->imgRenCatType : f->imgDelCatType;
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
        fillEntry(f, "", "", category, type);
        if (which) MsgBoxSeam::queueAnswer(which);
        MsgBoxSeam::queueAnswer(vbYes);
        MsgBoxSeam::queueInput("Verbum");
        picture->setFocus();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(reader->role(), QAccessible::Button);
        if (key == "press") {
            // A reader's action runs once its call has returned.
            reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            processEvents();
        } else QTest::keyClick(picture, key == "Space" ? Qt::Key_Space : Qt::Key_Return);
        QTEST(shownTexts(), "texts");
        QTEST(inStore([](Ado::Connection& c) { return VocStore::categories(c); }), "categories");
        QTEST(inStore([](Ado::Connection& c) { return VocStore::types(c); }), "types");
    }

    void dropWithNothingChosen() {
        seed(fruit());
        class frmTrans* f = openTrans();
        drop(f, f->lblCategory2, f->imgDelCatType);
        QCOMPARE(shownTexts(), QStringList{"Please select a category first"});
    }

    // --- The window -----------------------------------------------------------------

    void tooltipShowsWholeCell() {
        const QString longWord = "a rather long English phrase that does not fit its column";
        seed({{0, longWord, "kurz", "Food", "Noun"}});
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        const QPoint cell = cellPoint(f, 1, 1);
        QTest::mouseMove(f->flxGrid->viewport(), cell);
        QMouseEvent move(QEvent::MouseMove, QPointF(cell), f->flxGrid->viewport()->mapToGlobal(QPointF(cell)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f->flxGrid->viewport(), &move);
        QCOMPARE(f->flxGrid->toolTip(), longWord);
    }

    void smallestSize() {
        seed(fruit());
        class frmTrans* f = openTrans();
        const QSize design = f->size();
        f->resize(design.width() - 100, design.height() - 100);
        processEvents();
        QCOMPARE(f->size(), design);
        f->resize(design.width() + 150, design.height() + 75);
        processEvents();
        QCOMPARE(f->LastWidth, (design.width() + 150) * 15);
        QVERIFY(f->isVisible());
    }

    void maximiseHidesItsButton() {
        seed(fruit());
        class frmTrans* f = openTrans();
        f->lblCtrl[1]->click();
        processEvents();
        QVERIFY(f->isMaximized());
        QVERIFY(!f->lblCtrl[1]->isVisible());
        f->showNormal();
        processEvents();
        QVERIFY(!f->lblCtrl[1]->isVisible());
    }

    // An overlay open while the window changes size is laid on its row again.
    void overlayFollowsResize_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("made larger") << "larger";
        QTest::newRow("maximised, then restored") << "restore";
    }
    void overlayFollowsResize() {
        QFETCH(QString, change);
        seed(fruit());
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        f->flxGrid->clickCell(2, 1);
        QVERIFY(f->fraDrag->isVisible());
        if (change == "larger") f->resize(f->width() + 300, f->height() + 200);
        else f->lblCtrl[1]->click();
        processEvents();
        if (change == "restore") {
            f->showNormal();
            processEvents();
        }
        QVERIFY(f->fraDrag->isVisible());
        const QRect cell = f->flxGrid->cellRect(2, 1);
        const QPoint at = f->flxGrid->viewport()->mapTo(f, cell.topLeft());
        QCOMPARE(f->fraDrag->y(), at.y());
        QCOMPARE(f->fraDrag->height(), f->flxGrid->rowHeight(1));
        QCOMPARE(f->fraDrag->mapTo(f, f->lblEng->geometry().topLeft()).x(), at.x());
        QCOMPARE(f->lblEng->width(), Form::px(f->flxGrid->ColWidth(1)));
    }

    void worksheetOpens_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("desktopOpens");
        QTest::addColumn<QString>("message");
        QTest::newRow("opened") << "English" << true << "";
        QTest::newRow("no program for it") << "English" << false
                                           << "No program on this computer opens the worksheet. It is saved here:\n";
        QTest::newRow("no program for it, German") << "German" << false
                                                   << "Kein Programm dieses Computers öffnet das Arbeitsblatt. Es liegt hier:\n";
    }
    void worksheetOpens() {
        QFETCH(QString, language);
        QFETCH(bool, desktopOpens);
        QFETCH(QString, message);
        // Without the seam, this test platform's desktop opens no documents.
        if (!desktopOpens && QGuiApplication::platformName() != "offscreen") QSKIP("needs a desktop without programs");
        CurrentLanguage = language;
        seed({});
        class frmTrans* f = openTrans();
        ShellSeam::enable(desktopOpens);
        QTest::mouseClick(f->cmdEG, Qt::LeftButton);
        ShellSeam::enable(true);
        // The seam notes what would reach the desktop: a sound URL of the file.
        QCOMPARE(ShellSeam::opened().size(), desktopOpens ? 1 : 0);
        if (desktopOpens) {
            const QUrl sent(ShellSeam::opened()[0], QUrl::StrictMode);
            QVERIFY(sent.isValid());
            QCOMPARE(sent.toLocalFile(), frmTrans::worksheetFile());
        }
        QCOMPARE(shownTexts(), message.isEmpty() ? QStringList{}
                                                 : QStringList{message + QDir::toNativeSeparators(frmTrans::worksheetFile())});
        QFile sheet(frmTrans::worksheetFile());
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(sheet.readAll());
        for (const char* name : {"Vocabulary (D+E)", "Conjugation (E)", "Tips + Rules (E)", "Tips + Rules (D)"})
            QVERIFY(xml.contains(QStringLiteral("table:name=\"%1\"").arg(QString::fromUtf8(name))));
    }

    // --- Printing ---------------------------------------------------------------------

    void printing_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("lastRowY");
        QTest::addColumn<QString>("lastFooterY");
        QTest::addColumn<QString>("question");
        const QString english = "Do you really want to print out the category 'Many' ";
        QTest::newRow("1 row") << QLocale::c() << "English" << 1 << 1 << "0.7" << "1.3" << english + "(1 page)";
        QTest::newRow("48 rows") << QLocale::c() << "English" << 48 << 1 << "10.1" << "10.7" << english + "(1 page)";
        QTest::newRow("49 rows") << QLocale::c() << "English" << 49 << 2 << "0.7" << "1.3" << english + "(2 pages)";
        QTest::newRow("comma: 48 rows") << kGerman << "English" << 48 << 1 << "10.1" << "10.7" << english + "(1 page)";
        QTest::newRow("comma: 49 rows") << kGerman << "English" << 49 << 2 << "0.7" << "1.3" << english + "(2 pages)";
        QTest::newRow("German: 1 row") << kGerman << "German" << 1 << 1 << "0.7" << "1.3"
                                       << "Möchten Sie den Bereich 'Many' (1 Seite) wirklich ausdrucken";
        QTest::newRow("German: 97 rows") << kGerman << "German" << 97 << 3 << "0.7" << "1.3"
                                         << "Möchten Sie den Bereich 'Many' (3 Seiten) wirklich ausdrucken";
    }
    void printing() {
        QFETCH(QLocale, locale);
        QFETCH(QString, language);
        QFETCH(int, entries);
        QFETCH(int, pages);
        QFETCH(QString, lastRowY);
        QFETCH(QString, lastFooterY);
        QFETCH(QString, question);
        setLocale(locale);
        CurrentLanguage = language;
        QList<Entry> words;
        for (int i = 1; i <= entries; ++i)
            words << Entry{0, QString("word%1").arg(i, 2, 10, QChar('0')), QString("Wort%1").arg(i), "Many", "Noun"};
        seed(words);
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Many");
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QVERIFY(!MsgBoxSeam::shown().isEmpty());
        QCOMPARE(MsgBoxSeam::shown().first().text, question);
        const RecordingPrinter& p = printer();
        QCOMPARE(p.jobsEnded, 1);
        QCOMPARE(p.newPages, pages - 1);
        const QString page = language == "German" ? "Seite " : "Page ";
        const QString heading = language == "German" ? "Bereich: Many" : "Category: Many";
        QStringList footers, heads;
        double lastY = 0, footerY = 0;
        for (const RecordingPrinter::Line& l : p.lines) {
            if (l.text.startsWith(page)) {
                footers << l.text;
                footerY = l.y;
                // Inside the printable area of a Letter page.
                QVERIFY2(l.y <= 10.7 + 1e-9, qPrintable(QString::number(l.y)));
            }
            if (l.text == heading) heads << QString::number(l.page);
            if (l.text == QString("word%1").arg(entries, 2, 10, QChar('0'))) lastY = l.y;
            QVERIFY2(l.y < 10.3 || l.text.startsWith(page), qPrintable(l.text));
        }
        QCOMPARE(footers.size(), pages);
        QCOMPARE(footers.last(), QString(page + "%1/%1").arg(pages));
        QCOMPARE(heads.size(), pages);
        QCOMPARE(QString::number(lastY, 'f', 1), lastRowY);
        QCOMPARE(QString::number(footerY, 'f', 1), lastFooterY);
        QVERIFY(f->chkType->isChecked());
        const auto typeCell = std::find_if(p.lines.begin(), p.lines.end(), [](const auto& l) { return std::abs(l.x - 7.8) < 0.01 && !l.bold; });
        QVERIFY(typeCell != p.lines.end());
        QCOMPARE(typeCell->text, QString("N"));
    }

    // Unticked "Display Type" lists the category again before printing: the
    // question counts the pages of that listing, not of the search shown.
    void printCountsPagesOfRelisting() {
        QList<Entry> words;
        for (int i = 1; i <= 60; ++i) words << Entry{0, QString("word%1").arg(i), "Wort", "Many", "Noun"};
        seed(words);
        inStore([](Ado::Connection& c) {
            VocStore::addCategory(c, "Empty");
            return true;
        });
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Empty");
        fillEntry(f, "word", "", "", "");
        QTest::mouseClick(f->cmdFind, Qt::LeftButton);
        QCOMPARE(f->flxGrid->Rows(), 61);
        MsgBoxSeam::queueAnswer(vbNo);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QString("Do you really want to print out the category 'Empty' (1 page)"));
        QVERIFY(!f->chkType->isChecked());
    }

    void printFailureToldOnce_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("printer refuses the job") << "start" << "Problem: SetupPage\n482: Printer error";
        // No printer, and the disk full under a printout of 200 words: no file is left.
        QTest::newRow("disk full under the PDF") << "disk full" << "Problem: PrintObj\n61: Disk full";
    }
    void printFailureToldOnce() {
        QFETCH(QString, failure);
        QList<Entry> words;
        for (int i = 1; i <= 200; ++i) words << Entry{0, QString("word%1").arg(i), "Wort", "Food", "Noun"};
        seed(words);
        class frmTrans* f = openTrans();
        choose(f->cboCategory, "Food");
        if (failure == "start") printer().failAtStart = true;
        if (failure == "disk full") {
            auto pdf = std::make_unique<QtPrinter>(false);
            pdf->failWritesAfter(12 * 1024);
            Printer::install(std::move(pdf));
        }
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QTEST(MsgBoxSeam::last().text, "message");
        QVERIFY(!Printer::instance().jobRunning());
        QCOMPARE(f->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(QDir(App::dataFolder()).entryList({"*Print*"}, QDir::Files | QDir::Hidden), QStringList{});
    }

    void printNeedsCategory() {
        seed(fruit());
        class frmTrans* f = openTrans();
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(shownTexts(), QStringList{"Select category first"});
        QVERIFY(printer().lines.isEmpty());
    }
};

QTEST_MAIN(TestTranslator)
#include "tst_translator.moc"
