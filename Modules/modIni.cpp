#include "Modules/modIni.h"

#include "Platform/Profile.h"

QString IniSection;
QString IniFile;
bool IniReady = false;

namespace {
RuntimeError lastError{0, QString()};
constexpr int bufferSize = 255;
} // namespace

void SetIniFile(const QString& section, const QString& file) {
    IniSection = section.trimmed();
    IniFile = file.trimmed();
    IniReady = true;
}

void IniNotSetError() {}

QString GetIniValue(const QString& key, const QString& defaultValue) {
    if (!IniReady) {
        IniNotSetError();
        return {};
    }
    QString buffer;
    const int n = Profile::getString(IniSection, key, defaultValue, buffer, bufferSize, IniFile);
    return n > 0 ? buffer.left(n) : QString();
}

long WriteIniValue(const QString& key, const QString& value) {
    if (!IniReady) {
        IniNotSetError();
        return 0;
    }
    lastError = RuntimeError(0, QString());
    return Profile::writeString(IniSection, key, value, IniFile, &lastError) ? 1 : 0;
}

QString IniLastError() { return QString::number(lastError.number) + QStringLiteral(": ") + lastError.description; }
