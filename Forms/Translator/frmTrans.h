#pragma once
// The vocabulary book: lists a category of word pairs in the grid, searches,
// adds, updates and deletes entries, creates categories and word types by
// typing a new name, deletes or renames them by dragging their label onto
// one of two pictures (or by pressing a picture, by key or screen reader, for
// the name the entry shows), prints the listed category, opens the worksheet and
// the interpreter. The work on "Voc.mdb" is done by the routines of modTrans,
// which reach the controls below by name; this window owns the connection
// from its load to its unload.
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QList>

class FlexGrid;
class QCheckBox;
class QComboBox;
class QFrame;
class QProgressBar;
class QRadioButton;

class frmTrans : public Form {
    Q_OBJECT
public:
    frmTrans();
    // A window destroyed without its unload takes the connection with it.
    ~frmTrans() override;

    Label* lblTrans;
    // "X" closes, "^" maximises ("_" minimises).
    QList<Label*> lblCtrl;
    Frame* fraList;
    Label* lblCategory;
    QComboBox* cboCategory;
    Label* lblType;
    QComboBox* cboType;
    FlexGrid* flxGrid;
    TextBox* txtChange;
    Frame* fraAdd;
    Label* lblEnglish;
    Label* lblGerman;
    // English (0) and German (1) of the entry being edited.
    QList<TextBox*> txtAdd;
    Frame* fraAdd2;
    Label* lblCategory2;
    QComboBox* cboCategory2;
    Label* lblType2;
    QComboBox* cboType2;
    Image* imgDelCatType;
    Image* imgRenCatType;
    PictureButton* cmdNew;
    PictureButton* cmdAdd;
    PictureButton* cmdDel;
    PictureButton* cmdUpd;
    PictureButton* cmdFind;
    QCheckBox* chkShowUpdate;
    QCheckBox* chkDuplicate;
    Frame* fraSort;
    QRadioButton* optEnglish;
    QRadioButton* optGerman;
    QCheckBox* chkType;
    PictureButton* cmdPrint;
    PictureButton* cmdInterpret;
    PictureButton* cmdEG;
    QProgressBar* prgBar;
    Label* lblVersion;
    // The overlay laid over the selected grid row, with its number and words.
    QFrame* fraDrag;
    Label* lblNr;
    Label* lblEng;
    Label* lblDe;

    // The AutoNr of the entry the overlay was opened on: Update and Delete
    // act on it, whatever row the grid has made current since.
    qint64 shownEntry = 0;

    // The stored size (twips) the controls are scaled from; 0 while none.
    int LastWidth = 0;
    int LastHeight = 0;
    int CtrlFontSize = 0;

    // Handlers.
    void Form_Click();
    void flxGrid_Click();
    void flxGrid_KeyDown(int& KeyCode, int Shift);
    void flxGrid_RowChange(bool byLeftPress);
    void flxGrid_MouseMove(int Button, int Shift, int X, int Y);
    void flxGrid_Scroll();
    void lblVersion_MouseMove(int Button, int Shift, int X, int Y);
    void cboCategory_Click();
    void cboType_Click();
    void chkType_Click();
    void optEnglish_Click();
    void optGerman_Click();
    void imgDelCatType_DragDrop(QWidget* Source);
    void imgRenCatType_DragDrop(QWidget* Source);
    // Space, Enter or a reader's press on a picture: the drop of the
    // category or the word type the entry's boxes show.
    void imgDelCatType_Click();
    void imgRenCatType_Click();
    void txtAdd_KeyPress(int Index, int& KeyAscii);
    void lblCtrl_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblCtrl_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void lblCtrl_Click(int Index);
    void cmdNew_Click();
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdUpd_Click();
    void cmdFind_Click();
    void cmdPrint_Click();
    void cmdEG_Click();
    void cmdInterpret_Click();

    // The worksheet document beside the program's data, written there from
    // the program's resources the first time it is asked for.
    static QString worksheetFile();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Trans"); }

private:
    void sortingTitles(bool germanFirst, QString& first, int& firstDivisor, QString& second, int& secondDivisor) const;
    // The titles of the sorting language, then the grid listed anew in its order.
    void sortBy(bool germanFirst);
    void startDrag(Label* source);
    bool overlaysEnglish(int col) const;
    void layOverlay();
    // The caption label whose name a pressed picture acts on; none when the
    // user cancels the choice.
    Label* shownName(bool rename);
};

class frmTrans* frmTrans();
void SetLangTrans(class frmTrans* frm);
