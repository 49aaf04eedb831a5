#pragma once
// Statements of the bank: the register shown in the bank window (the rows
// of the chosen year and month, as its grid holds them) laid out on Letter
// pages through the print form. Every page starts with the register's
// heading and the column titles and ends with "Page n/N" (at the left edge
// of the printable area, 0.5 in); a page holds 48
// entry lines (y 0.7 to 10.1 inches, 0.2 apart).
#include <QString>

class frmBank;

namespace StatementLayout {
constexpr int kLinesPerPage = 48;
// The left edge of the printable area: headings, the first column and
// the page number line start there.
constexpr double kLeftEdge = 0.5;
constexpr double kHeadingY = 0.2;
constexpr double kTitlesY = 0.5;
constexpr double kFirstLineY = 0.7;
constexpr double kLineStep = 0.2;

// The pages the statement takes: at least one, one more for every 48
// entries begun.
int pageTotal(int rows);
} // namespace StatementLayout

// Ask, then print the register shown; nothing is printed on "No".
void PrintCheckings(class frmBank* frm);
void PrintSavings(class frmBank* frm);
// The heading and the column titles of the register on the current page;
// leave the print position at the first entry line.
void PrintChkHeadings(class frmBank* frm);
void PrintSavHeadings(class frmBank* frm);
