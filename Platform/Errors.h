#pragma once
// Run-time errors of the program: a number and a description, as the
// language runtime reported them. Handlers catch them and show
// "Problem: <label>" boxes.
#include <QString>
#include <stdexcept>

struct RuntimeError : std::runtime_error {
    int number;
    QString description;
    RuntimeError(int n, const QString& d)
        : std::runtime_error(d.toStdString()), number(n), description(d) {}
};

// The error numbers and texts of the runtime that the program shows.
namespace Err {
// Whether the runtime's own messages speak German. The program's language
// module sets the question at start-up; nothing in Platform/ knows the
// program's language itself.
inline bool (*germanMessages)() = nullptr;
inline bool inGerman() { return germanMessages && germanMessages(); }

inline RuntimeError overflow() { return {6, QStringLiteral("Overflow")}; }
inline RuntimeError divisionByZero() { return {11, QStringLiteral("Division by zero")}; }
inline RuntimeError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
inline RuntimeError invalidCall() { return {5, QStringLiteral("Invalid procedure call or argument")}; }
inline RuntimeError fileNotFound() { return {53, QStringLiteral("File not found")}; }
inline RuntimeError pathNotFound() { return {76, QStringLiteral("Path not found")}; }
inline RuntimeError permissionDenied() { return {70, QStringLiteral("Permission denied")}; }
inline RuntimeError deviceIo() { return {57, QStringLiteral("Device I/O error")}; }
inline RuntimeError diskFull() { return {61, QStringLiteral("Disk full")}; }
}
