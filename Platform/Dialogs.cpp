#include "Platform/Dialogs.h"

#include "Platform/MsgBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <deque>
#include <optional>

namespace DialogSeam {
namespace {
bool on = false;
struct QueuedFile {
    QString path;
    int filterIndex;
};
std::deque<QueuedFile> files;
std::deque<std::optional<FontChoice>> fonts;
QList<Shown> log;
} // namespace

void enable(bool b) { on = b; }
bool enabled() { return on; }
void queueFile(const QString& path, int filterIndex) { files.push_back({path, filterIndex}); }
void queueFont(const FontChoice& choice) { fonts.emplace_back(choice); }
void queueFontCancel() { fonts.emplace_back(std::nullopt); }
QList<Shown> shown() { return log; }
void clear() {
    files.clear();
    fonts.clear();
    log.clear();
}

static QueuedFile takeFile() {
    if (files.empty()) return {QString(), 1};
    QueuedFile f = files.front();
    files.pop_front();
    return f;
}

static std::optional<FontChoice> takeFont() {
    if (fonts.empty()) return std::nullopt;
    std::optional<FontChoice> f = fonts.front();
    fonts.pop_front();
    return f;
}

} // namespace DialogSeam

namespace FileDialog {
namespace {

// "Desc (*.a)|*.a|All Files (*.*)|*.*" as Qt's name filters. Qt reads the
// patterns from the last parentheses, so the description's own pattern
// part is replaced by the real one; "*.*" becomes "*", which also matches
// names without a dot, as it does on Windows.
QStringList qtFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        if (desc.endsWith(u')') && desc.contains(u'(')) desc = desc.left(desc.lastIndexOf(u'(')).trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        out << desc + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

QString withDefaultExt(const QString& path, const QString& ext) {
    if (path.isEmpty() || ext.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + u'.' + ext;
}

// Asks before a save replaces a file; Qt's own wording, so a translated Qt
// asks in the desktop's language.
bool mayReplace(const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    const QString q = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                          .arg(QFileInfo(path).fileName());
    return MsgBox(q, vbYesNo | vbExclamation, QString()) == vbYes;
}

QString run(bool saving, const Options& o, int* chosenFilter) {
    const QStringList filters = qtFilters(o.filter);
    if (DialogSeam::enabled()) {
        DialogSeam::log << DialogSeam::Shown{saving ? QStringLiteral("save") : QStringLiteral("open"), o.title,
                                             o.filter, o.defaultExt, o.initialDir};
        for (;;) {
            const auto answer = DialogSeam::takeFile();
            const QString path = withDefaultExt(answer.path, o.defaultExt);
            if (path.isEmpty()) return QString();
            if (saving && o.overwritePrompt && !mayReplace(path)) continue;
            if (chosenFilter) *chosenFilter = answer.filterIndex;
            return path;
        }
    }

    QFileDialog dlg(QApplication::activeWindow(), o.title, o.initialDir);
    dlg.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The question is asked below, after the default extension is added.
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qBound(1, o.filterIndex, int(filters.size())) - 1));
    }
    if (!o.fileName.isEmpty()) dlg.selectFile(o.fileName);
    for (;;) {
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
        const QString path = withDefaultExt(dlg.selectedFiles().first(), o.defaultExt);
        if (saving && o.overwritePrompt && !mayReplace(path)) continue;
        if (chosenFilter) *chosenFilter = qMax(1, int(filters.indexOf(dlg.selectedNameFilter())) + 1);
        return path;
    }
}

} // namespace

QString open(const Options& o, int* chosenFilter) { return run(false, o, chosenFilter); }
QString save(const Options& o, int* chosenFilter) { return run(true, o, chosenFilter); }

} // namespace FileDialog

namespace FontDialog {

bool choose(FontChoice& choice, const QString& title, bool withColour) {
    if (DialogSeam::enabled()) {
        const QString kind = withColour ? QStringLiteral("font") : QStringLiteral("font only");
        DialogSeam::log << DialogSeam::Shown{kind, title, QString(), QString(), QString()};
        const auto answer = DialogSeam::takeFont();
        if (!answer) return false;
        choice.font = answer->font;
        if (withColour) choice.color = answer->color;
        return true;
    }
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, choice.font, QApplication::activeWindow(), title);
    if (!ok) return false;
    if (!withColour) {
        choice.font = font;
        return true;
    }
    // The font dialog has no colour, so the colour dialog follows it.
    const QColor color = QColorDialog::getColor(choice.color, QApplication::activeWindow(), title);
    if (!color.isValid()) return false;
    choice.font = font;
    choice.color = color;
    return true;
}

} // namespace FontDialog
