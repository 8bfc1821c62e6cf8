#pragma once

#include "core/design_file.h"
#include "pages/page.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;

namespace hcalc {

class ImprovementListModel;
struct SchemeInputs;

// "安装容量计算": the best sharing of a compensation among the 3rd, 5th, 7th and 11th filter branches.
class InstallationPage final : public Page {
    Q_OBJECT

public:
    // The memory a search may take is half the machine's physical memory
    // (ImprovementChain::DefaultBudgetBytes).
    explicit InstallationPage(const PageContext& context, QWidget* parent = nullptr);
    // searchMemoryBytes: the memory a search may take, which the guard before
    // the search measures the list against.
    InstallationPage(const PageContext& context, std::uint64_t searchMemoryBytes, QWidget* parent = nullptr);

    // The site inputs as typed, unconverted, for the scheme report.
    QString phaseVoltageText() const;
    std::array<QString, 4> harmonicCurrentTexts() const;  // orders 3, 5, 7, 11

    // The total reactive power to compensate, as a whole number of kvar handed over by the compensation page.
    void takeTotalReactivePower(const QString& text);

    // The searches whose lines List1 shows, as a design keeps them; run again, the lines of each (nullopt
    // when cancelled, or with the refusal's reason when they cannot be run); shown again.
    std::vector<DesignSearch> keptSearches() const;
    std::optional<std::vector<ImprovementChain>> rerunSearches(const std::vector<DesignSearch>& searches,
                                                               QString& refusal);
    void showSearches(const std::vector<DesignSearch>& searches, std::vector<ImprovementChain> lists);

    void RzBitBtn3Click();  // "计算"
    void RzBitBtn4Click();  // "清空"

Q_SIGNALS:
    // The installed capacities (kvar) and ideal rated voltages (V) of the branches 3, 5, 7 and 11, as written.
    void idealCapacitiesWritten(const std::array<QString, 4>& texts);
    void idealVoltagesWritten(const std::array<QString, 4>& texts);

private:
    // The guard before the search: when even the fewest lines it will list cannot fit in the memory a search
    // may take, shows the notice with both sizes and ends the calculation.
    void requireListFits(const SchemeInputs& inputs) const;

    const NumberFormat& m_numbers;
    std::uint64_t m_searchMemoryBytes;
    QLineEdit* m_totalKvar;                   // Q, kvar, a whole number
    QLineEdit* m_phaseVoltage;                // U, V
    std::array<QLineEdit*, 4> m_currents{};   // I3, I5, I7, I11, A
    std::array<QLineEdit*, 4> m_reactive{};   // Q3 ... Q11, kvar
    std::array<QLineEdit*, 4> m_installed{};  // S3 ... S11, kvar
    std::array<QLineEdit*, 4> m_voltages{};   // U3 ... U11, V
    ImprovementListModel* m_lines;
    QListView* m_list;
    QLabel* m_bestRatio;
    QLabel* m_bestTotal;
};

}  // namespace hcalc
