#pragma once

#include "core/filter_bank_table.h"
#include "core/grid_code.h"
#include "core/resonance.h"
#include "core/scheme_search.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace hcalc {

// A design file: everything the window shows and everything its buttons use
// afterwards, as UTF-8 JSON (keys in a fixed order, one value per line). Every
// kept number is written as the exact decimal of its double, so that reading
// it back gives the same bits on every backend.
inline constexpr char kDesignFormatName[] = "hcalc-design";
// The format's version: a newer minor version only adds keys, which older
// programs ignore; a newer major version cannot be read by this program.
inline constexpr int kDesignFormatMajor = 1;
inline constexpr int kDesignFormatMinor = 1;  // 1.1 adds limitCheck
// The file name suffix of a design, without the dot.
inline constexpr char kDesignSuffix[] = "hcalc";
// Larger files are refused before they are parsed: a design of all pages takes
// some 30 kB, a very long report or list of searches still far below this.
inline constexpr qsizetype kMaxDesignBytes = qsizetype{16} * 1024 * 1024;
// The most characters a field holds (QLineEdit's own limit).
inline constexpr qsizetype kMaxFieldTextLength = 32767;
// The most sharing searches a design keeps: they are run again when it is opened.
inline constexpr std::size_t kMaxDesignSearches = 64;

// One run of the sharing search, whose lines the list shows: run again when
// the design is opened, with the separator its lines were shown with.
struct DesignSearch {
    SchemeInputs inputs;
    QChar separator = u'.';
};

struct DesignDocument {
    QString page;  // objectName of the page shown
    // Field texts by page and field objectName, exactly as they stand.
    std::map<QString, std::map<QString, QString>> fields;
    // Texts that calculations change besides the fields (labels, group
    // captions) and the buttons a calculation enables, by objectName.
    std::map<QString, QString> captions;
    std::map<QString, bool> switches;
    // Choices of a list (the item's text), by objectName.
    std::map<QString, QString> choices;
    QStringList report;  // the report area, line by line
    DesignState design;  // the filter-bank table, currentOrder, pendingBankCount
    std::vector<DesignSearch> searches;
    std::optional<ResonanceInputs> check;  // the check shown, run again when opened
    // The grid code's limits checked on it, as the page read its inputs; run
    // again when opened. Only with a check.
    std::optional<GridCodeInputs> limitCheck;
    // Only in a recovery file: the design file that the recovered window had
    // open, if any.
    QString recoveredFile;
};

// The design as the bytes of its file.
QByteArray WriteDesign(const DesignDocument& design);

// The design read from the bytes of a file, validated whole, or why it is
// not one (a Chinese sentence for the box that names the file).
struct DesignReading {
    std::optional<DesignDocument> design;
    QString error;
};
DesignReading ReadDesign(const QByteArray& bytes);

// The exact decimal value of a finite double ("0.1000000000000000055511151231257827021181583404541015625"),
// no exponent, no trailing zeros.
QString ExactDecimal(double value);

}  // namespace hcalc
