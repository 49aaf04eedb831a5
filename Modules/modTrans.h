#pragma once
// The vocabulary book: the word store "Voc.mdb" and the routines of the
// translator window.
//
// "Voc.mdb" is a SQLite database with four tables:
//   Vocabulary (AutoNr, English, German, Category, Type): one row per word
//     pair; AutoNr is assigned by the database and never written here.
//   Category (Category), Type (Type): the names of the categories and word
//     types. An entry names its category and type by their very text, so
//     renaming one rewrites every entry that carries it.
//   Version (Version): one row, the edition number of the word store,
//     raised by 0.001 in every program run that changes the vocabulary.
// Names are compared exactly (case-sensitive): "Food" and "food" are two
// categories. Searches use LIKE on the connection VocStore::open sets up:
// not case-sensitive for every letter (Qt's case folding, "Über" finds
// "über"), the sharp s alike with "ss" ("STRASSE" finds "Straße"), "%" any
// run and "_" one stored character (a sharp s too) only where the user
// typed them into the search fields; every other value is taken as typed.
// Names and words are listed in German order, case-blind (ä with a, ß with
// ss), through the collation "German". Every value is bound.
//
// VocStore holds the store with no window in sight; the routines below it
// take the translator window and work through its controls, showing
// failures as "Problem: <routine>" boxes.
#include "Platform/Ado.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

class QComboBox;
class frmTrans;

namespace VocStore {

struct Entry {
    qint64 autoNr = 0;
    QString english, german, category, type;
    bool operator==(const Entry&) const = default;
};

// Which language a listing is ordered by.
enum class Order { English, German };

// Opens "Voc.mdb" and gives the connection its LIKE and its collation "German":
// a new or empty database gets the four tables and the edition row; a store
// that lost its edition (the row or the table) gets it back, its words
// untouched; a file that is not a database, a database without the
// vocabulary's tables, or one whose AutoNr is not the key the database
// assigns, throws and is left untouched. Whatever throws leaves the
// connection closed.
void open(Ado::Connection& c, const QString& file);

// A text as the store's searches compare it: case-folded, a sharp s as "ss".
QString fold(const QString& text);

// The names in name order (case-insensitive, then exact).
QStringList categories(Ado::Connection& c);
QStringList types(Ado::Connection& c);
bool hasCategory(Ado::Connection& c, const QString& name);
bool hasType(Ado::Connection& c, const QString& name);
void addCategory(Ado::Connection& c, const QString& name);
void addType(Ado::Connection& c, const QString& name);

std::optional<Entry> entry(Ado::Connection& c, qint64 autoNr);

// Which entries a listing shows: a condition on their fields, with its values.
struct Selection {
    QString where;
    QVariantList binds;
};
// The entries of one category (its exact name).
Selection inCategory(const QString& category);
// Entries whose four fields match the LIKE patterns ("%" any run, "_" one
// stored character, not case-sensitive); a category or type marked exact is
// a name, matched as it is.
Selection matching(const QString& english, const QString& german, const QString& category, const QString& type,
                   bool exactCategory = false, bool exactType = false);
qint64 count(Ado::Connection& c, const Selection& s);
// Hands the entries over one at a time, in order; none is kept here, so a
// listing of a million words is held once, where it is shown.
void forEach(Ado::Connection& c, const Selection& s, Order order, const std::function<void(const Entry&)>& take);
QList<Entry> list(Ado::Connection& c, const Selection& s, Order order);
QList<Entry> listCategory(Ado::Connection& c, const QString& category, Order order);
QList<Entry> find(Ado::Connection& c, const QString& english, const QString& german, const QString& category,
                  const QString& type, Order order, bool exactCategory = false, bool exactType = false);
// "%" + text + "%" with the text's own "%", "_" and "\" taken literally.
QString containsLiteral(const QString& text);

// Stores a new entry; its AutoNr.
qint64 add(Ado::Connection& c, const Entry& e);
// Rewrites the entry's four texts; false when there is no such entry.
bool update(Ado::Connection& c, qint64 autoNr, const Entry& e);
bool remove(Ado::Connection& c, qint64 autoNr);

// Each runs in one transaction: the name and every entry carrying it, or
// nothing. Renames to a name already taken (exactly) return false.
void deleteCategory(Ado::Connection& c, const QString& name);
void deleteType(Ado::Connection& c, const QString& name);
bool renameCategory(Ado::Connection& c, const QString& from, const QString& to);
bool renameType(Ado::Connection& c, const QString& from, const QString& to);

// Grows with every change this program makes to the entries, so that what
// was read from them can tell whether it is still current.
quint64 generation();

double version(Ado::Connection& c);
void raiseVersion(Ado::Connection& c);
// The edition as the window shows it: "#.000", trailing zeros dropped.
QString versionText(double edition);

} // namespace VocStore

// The connection to "Voc.mdb", open from the translator window's load to
// its unload (the interpreter uses it meanwhile); null while closed.
extern Ado::Connection* cnTrans;
// Running row number of the listing being filled; afterwards its row count.
extern qint64 EntryCount;
// The entry last added, updated or deleted.
extern qint64 LastAutoNr;
// True once the edition has been raised in this program run.
extern bool VersionRaised;

// The character a key press in the translator's and the interpreter's text
// boxes gives: the German letters lie on the keys where a German keyboard
// has them (";" ö, "'" ä, "[" ü, ":" Ö, '"' Ä, "{" Ü); others pass.
int germanKey(int KeyAscii);

bool transConnectionOpen();
void OpenTransConnection();
void CloseTransConnection();
void GetVersion();
// Raises the edition once per program run, inside the transaction of the
// change that calls it: false when it failed (the failure shown as
// "Problem: UpdVersion"; the change must then stop). `raised`: raised now,
// which counts once the change is committed (editionRaised).
bool UpdVersion(bool& raised);
// After the commit: the run's raise is done and the window shows the edition.
void editionRaised(bool raised);

// Categories and word types.
// The list index of the name the box shows, also when it was typed; -1 for
// a name not in the list (names compare exactly).
int chosenIndex(const QComboBox* box);
void LoadCats(class frmTrans* frm);
// The interpreter's category filter: the categories, no grid.
void LoadCats(class frmInterpret* frm);
std::optional<int> LoadNewCat(class frmTrans* frm, const QString& category);
void LoadTypes(class frmTrans* frm);
void GetCat(class frmTrans* frm);
void GetType(class frmTrans* frm);
// Store the name typed in cboCategory2 (cboType2) when no category (word
// type) has exactly that name, inside the caller's transaction; false when
// it could not be stored (the failure shown). `added`: the name is new.
bool CheckCatExist(class frmTrans* frm, bool& added);
bool CheckTypeExist(class frmTrans* frm, bool& added);
void DelCat(class frmTrans* frm);
void DelType(class frmTrans* frm);
void RenCat(class frmTrans* frm);
void RenType(class frmTrans* frm);

// The grid.
void ShowCat(class frmTrans* frm);
// isAdd false: the Find button's search. True: the duplicate check before
// adding; the number of similar entries listed (0 when none or unchecked).
qint64 FindEntry(class frmTrans* frm, bool isAdd);
void ShowTypeColumn(class frmTrans* frm);
void EqualizeColumns(class frmTrans* frm);
void ShowUpdate(class frmTrans* frm, const QString& mode);

// Adding, changing and deleting words.
QString CheckVocFields(class frmTrans* frm);
void AddVoc(class frmTrans* frm);
void DelVoc(class frmTrans* frm);
void UpdVoc(class frmTrans* frm);

// Printing the listed category.
void PrintCat(class frmTrans* frm);
// The page total of a printout of `gridRows` grid rows (heading row
// included), 48 entries to a page.
int printPageTotal(int gridRows);
