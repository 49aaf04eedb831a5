// Ends a session with the translator and the interpreter open: opens both
// over the word store in <folder>, adds a word through the translator, and
// then ends the way it is told, with both windows still open:
//   session_end <folder> end    the event loop ends, as the program's End
//                               ends it
//   session_end <folder> exit   the process exits from inside the event loop,
//                               as the toolkit does when the display server
//                               goes away
// The translator's test starts it and checks that it ends cleanly and that
// the store holds the word.
#include "Forms/Translator/frmInterpret.h"
#include "Forms/Translator/frmTrans.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/RichTextBox.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    const QString how = QString::fromLocal8Bit(argv[2]);
    App::setPath(QString::fromLocal8Bit(argv[1]));
    App::setProgramFolderWritable(true);
    MsgBoxSeam::enable(true);
    class frmTrans* trans = frmTrans();
    trans->Show(vbModeless);
    trans->txtAdd[0]->setText(QStringLiteral("dog"));
    trans->txtAdd[1]->setText(QStringLiteral("Hund"));
    trans->cboCategory2->setEditText(QStringLiteral("Pets"));
    trans->cboType2->setEditText(QStringLiteral("Noun"));
    trans->cmdAdd->click();
    trans->cmdInterpret->click();
    frmInterpret()->txtInput->setTextValue(QStringLiteral("dog"));
    frmInterpret()->cmdInterpret->click();
    if (!MsgBoxSeam::shown().isEmpty()) return 3;
    QTimer::singleShot(0, &app, [how] {
        if (how == QLatin1String("exit")) std::exit(1);
        App::end();
    });
    return App::run();
}
