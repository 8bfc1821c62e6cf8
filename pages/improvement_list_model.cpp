#include "pages/improvement_list_model.h"

#include "core/numbers.h"

#include <algorithm>
#include <limits>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

int ImprovementListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(std::min<qsizetype>(m_rows, std::numeric_limits<int>::max()));
}

QVariant ImprovementListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return lineText(index.row());
}

QString ImprovementListModel::lineText(qsizetype row) const {
    const auto run = std::prev(
        std::upper_bound(m_runs.begin(), m_runs.end(), row, [](qsizetype r, const Run& x) { return r < x.firstRow; }));
    const Improvement& line = run->lines[static_cast<std::size_t>(row - run->firstRow)];
    return FormatReal(line.ratio, run->separator) + u"-->("_s + FormatWhole(line.steps[0]) + u")("_s +
           FormatWhole(line.steps[1]) + u")("_s + FormatWhole(line.steps[2]) + u")("_s + FormatWhole(line.steps[3]) +
           u")"_s;
}

void ImprovementListModel::append(const SchemeInputs& inputs, ImprovementChain lines, QChar separator) {
    if (lines.empty()) {
        return;
    }
    const auto count = static_cast<qsizetype>(lines.size());
    const int first = rowCount();
    const qsizetype last = std::min<qsizetype>(m_rows + count, std::numeric_limits<int>::max()) - 1;
    if (last >= first) {
        beginInsertRows({}, first, static_cast<int>(last));
    }
    m_runs.push_back({inputs, std::move(lines), separator, m_rows});
    m_rows += count;
    if (last >= first) {
        endInsertRows();
    }
}

std::vector<DesignSearch> ImprovementListModel::searches() const {
    std::vector<DesignSearch> kept;
    for (const Run& run : m_runs) {
        kept.push_back({run.inputs, run.separator});
    }
    return kept;
}

void ImprovementListModel::clear() {
    beginResetModel();
    m_runs.clear();
    m_rows = 0;
    endResetModel();
}

}  // namespace hcalc
