#pragma once

#include "core/design_file.h"
#include "core/scheme_search.h"

#include <QAbstractListModel>
#include <QChar>

#include <vector>

namespace hcalc {

// The lines of the best-scheme list: the improvements of every calculation since the list was last cleared,
// kept as compact records (ratio and four step counts). A line's text, such as
// "0.895602068503594-->(0)(7)(3)(0)", is built only when it is shown.
class ImprovementListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends one calculation's lines below the others; they are shown with the decimal separator in use now.
    void append(const SchemeInputs& inputs, ImprovementChain lines, QChar separator);
    void clear();

    // The searches whose lines the list shows, in order, as a design keeps them.
    std::vector<DesignSearch> searches() const;

    QString lineText(qsizetype row) const;

private:
    struct Run {
        SchemeInputs inputs;
        ImprovementChain lines;
        QChar separator;
        qsizetype firstRow;
    };

    std::vector<Run> m_runs;
    qsizetype m_rows = 0;
};

}  // namespace hcalc
