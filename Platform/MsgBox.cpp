#include "Platform/MsgBox.h"

#include "Platform/App.h"
#include "Platform/Controls.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <deque>

namespace MsgBoxSeam {
namespace {
bool on = false;
std::deque<int> answers;
std::deque<QString> inputs;
std::deque<std::function<void()>> actions;
QList<Shown> log;
} // namespace

void enable(bool b) { on = b; }
bool enabled() { return on; }
void queueAnswer(int a) { answers.push_back(a); }
void queueInput(const QString& t) { inputs.push_back(t); }
void queueAction(std::function<void()> a) { actions.push_back(std::move(a)); }
QList<Shown> shown() { return log; }
Shown last() { return log.isEmpty() ? Shown{} : log.last(); }
void clear() {
    answers.clear();
    inputs.clear();
    actions.clear();
    log.clear();
}

// Records a box and runs what the test queued to happen while it is open.
static void record(const Shown& s) {
    log << s;
    if (!actions.empty()) {
        auto a = std::move(actions.front());
        actions.pop_front();
        a();
    }
}

static int takeAnswer(int buttons) {
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case vbOKCancel: return vbOK;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

static QString takeInput(const QString& def) {
    if (inputs.empty()) return def;
    QString t = inputs.front();
    inputs.pop_front();
    return t;
}

} // namespace MsgBoxSeam

int MsgBox(const QString& prompt, int style, const QString& title) {
    const int buttons = style & 7, icon = style & 0x70;
    const QString caption = title.isEmpty() ? App::title() : title;
    QMessageBox box(MsgBoxSeam::enabled() ? nullptr : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) text->setAccessibleName(spokenText(prompt));
    if (MsgBoxSeam::enabled()) {
        MsgBoxSeam::record({box.text(), box.windowTitle(), buttons, icon, false, box.textFormat()});
        return MsgBoxSeam::takeAnswer(buttons);
    }
    box.setIcon(icon == vbCritical ? QMessageBox::Critical
                : icon == vbQuestion ? QMessageBox::Question
                : icon == vbExclamation ? QMessageBox::Warning
                : icon == vbInformation ? QMessageBox::Information
                                        : QMessageBox::NoIcon);
    struct B { QMessageBox::StandardButton qt; int result; };
    QList<B> list;
    switch (buttons) {
    case vbOKCancel: list = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore: list = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}}; break;
    case vbYesNoCancel: list = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbYesNo: list = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: list = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: list = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const B& b : list) set |= b.qt;
    box.setStandardButtons(set);
    const int def = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    if (def < list.size()) box.setDefaultButton(list[def].qt);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const B& b : list)
        if (b.qt == clicked) return b.result;
    // Closed by Esc or the close box: Cancel where there is one, else the only button.
    for (const B& b : list)
        if (b.result == vbCancel || b.result == vbNo) return b.result;
    return list.first().result;
}

void ShowProblem(const QString& label, int number, const QString& description) {
    MsgBox(QStringLiteral("Problem: ") + label + u'\n' + QString::number(number) + QStringLiteral(": ") + description,
           vbCritical);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    const QString caption = title.isEmpty() ? App::title() : title;
    if (MsgBoxSeam::enabled()) {
        MsgBoxSeam::record({prompt, caption, vbOKCancel, 0, true});
        return MsgBoxSeam::takeInput(defaultText);
    }
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // The prompt may hold what the user typed: plain text, as in MsgBox.
    for (QLabel* l : box.findChildren<QLabel*>()) {
        l->setTextFormat(Qt::PlainText);
        l->setAccessibleName(spokenText(prompt));
    }
    // The field is named by the prompt, which readers would drop for its line breaks.
    if (auto* field = box.findChild<QLineEdit*>()) field->setAccessibleName(spokenText(prompt));
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
