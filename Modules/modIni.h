#pragma once
// Access to one section of one ini file.
#include <QString>

extern QString IniSection;
extern QString IniFile;
extern bool IniReady;

void SetIniFile(const QString& section, const QString& file);
// The value of key, default when key or file is absent, "" before SetIniFile.
QString GetIniValue(const QString& key, const QString& defaultValue);
// Non-zero on success; 0 before SetIniFile or when the write failed.
long WriteIniValue(const QString& key, const QString& value);
// Why the last write failed, as "<number>: <description>" in the program's
// language ("70: Permission denied"), the runtime's form that follows the
// name of the failed routine in a "Problem: " message.
QString IniLastError();
void IniNotSetError();
