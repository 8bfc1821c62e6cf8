#include "core/design_file.h"

#include "core/fault.h"
#include "core/numbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The columns of a filter-bank row, by their keys in the file.
// clang-format off
const std::array<std::pair<const char*, double FilterBankRow::*>, 11> kRowColumns{{
    {"order",                &FilterBankRow::order},
    {"ratedKvar",            &FilterBankRow::ratedKvar},
    {"ratedVoltage",         &FilterBankRow::ratedVoltage},
    {"capacitanceUf",        &FilterBankRow::capacitanceUf},
    {"ratedCurrent",         &FilterBankRow::ratedCurrent},
    {"inductanceMh",         &FilterBankRow::inductanceMh},
    {"reactanceRatioPct",    &FilterBankRow::reactanceRatioPct},
    {"bankCount",            &FilterBankRow::bankCount},
    {"banksOutputKvar",      &FilterBankRow::banksOutputKvar},
    {"capacitorsOutputKvar", &FilterBankRow::capacitorsOutputKvar},
    {"harmonicKvar",         &FilterBankRow::harmonicKvar},
}};
const std::array<std::pair<const char*, double BranchRating::*>, 4> kBranchColumns{{
    {"ratedVoltage",      &BranchRating::ratedVoltage},
    {"ratedKvar",         &BranchRating::ratedKvar},
    {"reactanceRatioPct", &BranchRating::reactanceRatioPct},
    {"qualityFactor",     &BranchRating::qualityFactor},
}};
// clang-format on

QJsonValue Number(double value) {
    return ExactDecimal(value);
}

template <std::size_t N>
QJsonArray Numbers(const std::array<double, N>& values) {
    QJsonArray array;
    for (double v : values) {
        array.append(Number(v));
    }
    return array;
}

template <class Map, class Convert>
QJsonObject ObjectOf(const Map& map, Convert convert) {
    QJsonObject object;
    for (const auto& [key, value] : map) {
        object.insert(key, convert(value));
    }
    return object;
}

// What is wrong with the file, for the box.
struct Invalid {
    QString reason;
};

[[noreturn]] void Refuse(const QString& reason) {
    throw Invalid{reason};
}

// The reading of one value of the document, named by its path ("check.branches[2].ratedKvar") in what the
// box says about it.
class Node {
public:
    Node(QJsonValue value, QString path) : m_value(std::move(value)), m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    bool exists() const { return !m_value.isUndefined(); }

    Node operator[](const char* key) const { return member(QString::fromLatin1(key)); }
    Node member(const QString& key) const {
        return {object().value(key), m_path.isEmpty() ? key : m_path + u'.' + key};
    }
    Node element(qsizetype i) const { return {array().at(i), m_path + u'[' + QString::number(i) + u']'}; }

    QJsonObject object() const {
        if (!m_value.isObject()) {
            wrong(u"对象（{…}）"_s);
        }
        return m_value.toObject();
    }
    QJsonArray array(qsizetype size = -1) const {
        if (!m_value.isArray()) {
            wrong(u"数组（[…]）"_s);
        }
        QJsonArray a = m_value.toArray();
        if (size >= 0 && a.size() != size) {
            Refuse(u"“%1”应有%2项，文件中有%3项"_s.arg(m_path).arg(size).arg(a.size()));
        }
        return a;
    }
    QString text() const {
        if (!m_value.isString()) {
            wrong(u"文字"_s);
        }
        return m_value.toString();
    }
    bool truth() const {
        if (!m_value.isBool()) {
            wrong(u"true或false"_s);
        }
        return m_value.toBool();
    }
    std::int32_t integer() const {
        const double v = m_value.toDouble();
        if (!m_value.isDouble() || v != std::floor(v) || v < std::numeric_limits<std::int32_t>::min() ||
            v > std::numeric_limits<std::int32_t>::max()) {
            wrong(u"整数"_s);
        }
        return static_cast<std::int32_t>(v);
    }
    // A kept value: the decimal of a finite double, as text.
    double real() const {
        if (m_value.isString()) {
            if (const std::optional<Ext> value = TryParseReal(m_value.toString(), u'.')) {
                try {
                    const double d = StoreDouble(*value);
                    if (std::isfinite(d)) {
                        return d;
                    }
                } catch (const CalcFault&) {
                    // too large for a double: told below
                }
            }
        }
        wrong(u"有限的十进制数值（以文字写出）"_s);
    }
    // A text that a single-line field can hold: no control characters, at most its length.
    QString fieldText() const {
        QString t = text();
        if (t.size() > kMaxFieldTextLength) {
            Refuse(
                u"“%1”的文字过长：%2个字符，输入框最多容纳%3个"_s.arg(m_path).arg(t.size()).arg(kMaxFieldTextLength));
        }
        if (std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.category() == QChar::Other_Control; })) {
            Refuse(u"“%1”含有输入框不能容纳的控制字符"_s.arg(m_path));
        }
        return t;
    }

    [[noreturn]] void wrong(const QString& expected) const {
        Refuse(exists() ? u"“%1”应为%2"_s.arg(m_path, expected) : u"缺少“%1”"_s.arg(m_path));
    }

private:
    QJsonValue m_value;
    QString m_path;
};

// An objectName as the window gives them: letters, digits and "_", not too long.
QString ObjectName(const QString& key, const QString& path) {
    const bool valid = !key.isEmpty() && key.size() <= 64 && std::all_of(key.cbegin(), key.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
    });
    if (!valid) {
        Refuse(u"“%1”中的名称“%2”无效"_s.arg(path, key.left(64)));
    }
    return key;
}

template <class T>
std::map<QString, T> MapOf(const Node& node, const std::function<T(const Node&)>& read) {
    std::map<QString, T> map;
    if (!node.exists()) {
        return map;
    }
    const QJsonObject object = node.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        map.emplace(ObjectName(it.key(), node.path()), read(node.member(it.key())));
    }
    return map;
}

void ReadVersion(const Node& root) {
    if (root.object().value(u"format"_s).toString() != QLatin1String(kDesignFormatName)) {
        Refuse(u"不是谐波计算方案文件（没有格式名“%1”）"_s.arg(QLatin1String(kDesignFormatName)));
    }
    const QString version = root["version"].text();
    const QStringList parts = version.split(u'.');
    bool majorOk = false;
    bool minorOk = false;
    const int major = parts.value(0).toInt(&majorOk);
    if (parts.size() == 2) {
        parts[1].toInt(&minorOk);
    }
    if (!majorOk || !minorOk || major < 1) {
        Refuse(u"格式版本“%1”无效"_s.arg(version.left(20)));
    }
    if (major > kDesignFormatMajor) {
        Refuse(u"这是格式版本%1的方案，由较新的程序保存；本程序只能打开%2.x版本的方案，请用新版程序打开"_s.arg(
            version, QString::number(kDesignFormatMajor)));
    }
}

ResonanceInputs ReadCheck(const Node& node) {
    ResonanceInputs in;
    in.lineVoltage = node["lineVoltage"].real();
    in.shortCircuitMva = node["shortCircuitMva"].real();
    in.xOverR = node["xOverR"].real();
    const Node currents = node["harmonicCurrents"];
    currents.array(4);
    const Node branches = node["branches"];
    branches.array(4);
    for (std::size_t j = 0; j < 4; ++j) {
        const auto i = static_cast<qsizetype>(j);
        in.harmonicCurrents[j] = currents.element(i).real();
        const Node b = branches.element(i);
        in.branches[j].present = b["present"].truth();
        for (const auto& [key, column] : kBranchColumns) {
            in.branches[j].*column = b[key].real();
        }
    }
    // The bounds the page reads its inputs within: a check that could not have been shown is no check.
    bool valid = in.lineVoltage > 0 && in.shortCircuitMva > 0 && in.xOverR > 0;
    bool anyBranch = false;
    for (std::size_t j = 0; j < 4; ++j) {
        const BranchRating& b = in.branches[j];
        valid = valid && in.harmonicCurrents[j] >= 0;
        if (b.present) {
            anyBranch = true;
            valid = valid && b.ratedKvar > 0 && b.ratedVoltage > 0 && b.reactanceRatioPct >= 0 &&
                    b.reactanceRatioPct < 100 && (b.reactanceRatioPct == 0 || b.qualityFactor > 0);
        }
    }
    if (!valid || !anyBranch) {
        Refuse(u"“%1”不是一次可以进行的校验（数值超出校验的取值范围）"_s.arg(node.path()));
    }
    return in;
}

// The grid code's names in the file.
constexpr char kGb14549Key[] = "gb14549";
constexpr char kIeee519Key[] = "ieee519";

GridCodeInputs ReadLimitCheck(const Node& node) {
    GridCodeInputs in;
    const QString code = node["code"].text();
    bool valid = true;
    if (code == QLatin1String(kGb14549Key)) {
        in.code = GridCode::Gb14549;
        const std::int32_t level = node["pccLevel"].integer();
        valid = level >= 0 && static_cast<std::size_t>(level) < kGb14549Table2.size();
        in.gb.pccLevel = static_cast<std::size_t>(std::max(level, 0));
        in.gb.minShortCircuitMva = node["minShortCircuitMva"].real();
        valid = valid && in.gb.minShortCircuitMva > 0;
        if (node["share"].exists()) {
            const Node share = node["share"];
            in.gb.share = UserShare{share["agreedMva"].real(), share["supplyMva"].real()};
            valid = valid && in.gb.share->agreedMva > 0 && in.gb.share->agreedMva <= in.gb.share->supplyMva;
        }
    } else if (code == QLatin1String(kIeee519Key)) {
        in.code = GridCode::Ieee519;
        in.maxDemandCurrent = node["maxDemandCurrent"].real();
        valid = in.maxDemandCurrent > 0;
    } else {
        Refuse(
            u"“%1”应为“%2”或“%3”"_s.arg(node["code"].path(), QLatin1String(kGb14549Key), QLatin1String(kIeee519Key)));
    }
    // The bounds the page reads its inputs within.
    if (!valid) {
        Refuse(u"“%1”不是一次可以进行的限值校验（数值超出取值范围）"_s.arg(node.path()));
    }
    return in;
}

QJsonObject LimitCheckObject(const GridCodeInputs& in) {
    if (in.code == GridCode::Ieee519) {
        return {{u"code"_s, QLatin1String(kIeee519Key)}, {u"maxDemandCurrent"_s, Number(in.maxDemandCurrent)}};
    }
    QJsonObject object{{u"code"_s, QLatin1String(kGb14549Key)},
                       {u"pccLevel"_s, static_cast<int>(in.gb.pccLevel)},
                       {u"minShortCircuitMva"_s, Number(in.gb.minShortCircuitMva)}};
    if (in.gb.share) {
        object.insert(u"share"_s, QJsonObject{{u"agreedMva"_s, Number(in.gb.share->agreedMva)},
                                              {u"supplyMva"_s, Number(in.gb.share->supplyMva)}});
    }
    return object;
}

DesignDocument ReadDocument(const Node& root) {
    ReadVersion(root);
    DesignDocument d;
    d.page = root["page"].exists() ? ObjectName(root["page"].text(), u"page"_s) : QString();
    d.fields = MapOf<std::map<QString, QString>>(root["fields"], [](const Node& page) {
        return MapOf<QString>(page, [](const Node& field) { return field.fieldText(); });
    });
    d.captions = MapOf<QString>(root["captions"], [](const Node& n) { return n.fieldText(); });
    d.switches = MapOf<bool>(root["switches"], [](const Node& n) { return n.truth(); });
    d.choices = MapOf<QString>(root["choices"], [](const Node& n) { return n.fieldText(); });

    if (root["report"].exists()) {
        const Node report = root["report"];
        const QJsonArray lines = report.array();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString line = report.element(i).text();
            if (std::any_of(line.cbegin(), line.cend(), [](QChar c) { return c == u'\n' || c == u'\r'; })) {
                Refuse(u"“%1”应为一行文字"_s.arg(report.element(i).path()));
            }
            d.report << line;
        }
    }

    const Node banks = root["filterBanks"];
    banks.array(static_cast<qsizetype>(FilterBankTable::kOrders.size()));
    for (std::size_t j = 0; j < FilterBankTable::kOrders.size(); ++j) {
        FilterBankRow* row = d.design.table.rowFor(FilterBankTable::kOrders[j]);
        const Node node = banks.element(static_cast<qsizetype>(j));
        for (const auto& [key, column] : kRowColumns) {
            row->*column = node[key].real();
        }
    }
    d.design.currentOrder = root["currentOrder"].integer();
    d.design.pendingBankCount = root["pendingBankCount"].real();

    if (root["searches"].exists()) {
        const Node searches = root["searches"];
        const QJsonArray runs = searches.array();
        if (static_cast<std::size_t>(runs.size()) > kMaxDesignSearches) {
            Refuse(u"“searches”有%1次计算，方案最多保留%2次"_s.arg(runs.size()).arg(kMaxDesignSearches));
        }
        for (qsizetype i = 0; i < runs.size(); ++i) {
            const Node run = searches.element(i);
            DesignSearch s;
            s.inputs.steps = run["steps"].integer();
            s.inputs.phaseVoltage = run["phaseVoltage"].real();
            const Node currents = run["currents"];
            currents.array(4);
            for (std::size_t j = 0; j < 4; ++j) {
                s.inputs.currents[j] = currents.element(static_cast<qsizetype>(j)).real();
            }
            const QString separator = run["separator"].text();
            if (separator != u"."_s && separator != u","_s) {
                Refuse(u"“%1”应为“.”或“,”"_s.arg(run["separator"].path()));
            }
            s.separator = separator.front();
            d.searches.push_back(s);
        }
    }
    if (root["check"].exists()) {
        d.check = ReadCheck(root["check"]);
    }
    if (root["limitCheck"].exists()) {
        if (!d.check) {
            Refuse(u"有“limitCheck”而没有它所依据的“check”"_s);
        }
        d.limitCheck = ReadLimitCheck(root["limitCheck"]);
    }
    if (root["recoveredFile"].exists()) {
        d.recoveredFile = root["recoveredFile"].text();
    }
    return d;
}

}  // namespace

QString ExactDecimal(double value) {
    // A double's exact decimal has at most 1074 digits after the point (the
    // smallest subnormal) and 309 before it.
    char buffer[1 + 309 + 1 + 1074 + 1];
    const std::to_chars_result r =
        std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed, 1074);
    std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
    text = text.substr(0, text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.remove_suffix(1);
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray WriteDesign(const DesignDocument& d) {
    QJsonObject root;
    root.insert(u"format"_s, QLatin1String(kDesignFormatName));
    root.insert(u"version"_s, u"%1.%2"_s.arg(kDesignFormatMajor).arg(kDesignFormatMinor));
    if (!d.page.isEmpty()) {
        root.insert(u"page"_s, d.page);
    }
    root.insert(u"fields"_s, ObjectOf(d.fields, [](const auto& page) {
                    return ObjectOf(page, [](const QString& t) { return t; });
                }));
    root.insert(u"captions"_s, ObjectOf(d.captions, [](const QString& t) { return t; }));
    root.insert(u"switches"_s, ObjectOf(d.switches, [](bool on) { return on; }));
    root.insert(u"choices"_s, ObjectOf(d.choices, [](const QString& t) { return t; }));
    root.insert(u"report"_s, QJsonArray::fromStringList(d.report));

    QJsonArray banks;
    for (const FilterBankRow& row : d.design.table.rows()) {
        QJsonObject object;
        for (const auto& [key, column] : kRowColumns) {
            object.insert(QLatin1String(key), Number(row.*column));
        }
        banks.append(object);
    }
    root.insert(u"filterBanks"_s, banks);
    root.insert(u"currentOrder"_s, d.design.currentOrder);
    root.insert(u"pendingBankCount"_s, Number(d.design.pendingBankCount));

    QJsonArray searches;
    for (const DesignSearch& s : d.searches) {
        searches.append(QJsonObject{{u"steps"_s, s.inputs.steps},
                                    {u"phaseVoltage"_s, Number(s.inputs.phaseVoltage)},
                                    {u"currents"_s, Numbers(s.inputs.currents)},
                                    {u"separator"_s, QString(s.separator)}});
    }
    root.insert(u"searches"_s, searches);
    if (d.check) {
        const ResonanceInputs& in = *d.check;
        QJsonArray branches;
        for (const BranchRating& b : in.branches) {
            QJsonObject object{{u"present"_s, b.present}};
            for (const auto& [key, column] : kBranchColumns) {
                object.insert(QLatin1String(key), Number(b.*column));
            }
            branches.append(object);
        }
        root.insert(u"check"_s, QJsonObject{{u"lineVoltage"_s, Number(in.lineVoltage)},
                                            {u"shortCircuitMva"_s, Number(in.shortCircuitMva)},
                                            {u"xOverR"_s, Number(in.xOverR)},
                                            {u"branches"_s, branches},
                                            {u"harmonicCurrents"_s, Numbers(in.harmonicCurrents)}});
    }
    if (d.check && d.limitCheck) {
        root.insert(u"limitCheck"_s, LimitCheckObject(*d.limitCheck));
    }
    if (!d.recoveredFile.isEmpty()) {
        root.insert(u"recoveredFile"_s, d.recoveredFile);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

DesignReading ReadDesign(const QByteArray& bytes) {
    try {
        if (bytes.isEmpty()) {
            Refuse(u"文件是空的"_s);
        }
        if (bytes.size() > kMaxDesignBytes) {
            Refuse(u"文件过大（%1 MB），方案文件不超过%2 MB"_s.arg(
                QString::number(static_cast<double>(bytes.size()) / (1024 * 1024), 'f', 1),
                QString::number(kMaxDesignBytes / (qsizetype{1024} * 1024))));
        }
        QJsonParseError error{};
        const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError) {
            Refuse(u"不是完整的JSON文本（第%1个字节处有误），文件可能已损坏或不完整"_s.arg(error.offset + 1));
        }
        if (!json.isObject()) {
            Refuse(u"不是谐波计算方案文件（JSON的最外层不是对象）"_s);
        }
        return {ReadDocument(Node(json.object(), QString())), {}};
    } catch (const Invalid& invalid) {
        return {std::nullopt, invalid.reason};
    }
}

}  // namespace hcalc
