#pragma once

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QString>

#include <functional>

class QTimer;

namespace hcalc {

// The clock text: the short date, then, unless the time is exactly 00:00:00,
// a space and the long time, in the locale's formats. The time zone that Qt's
// long time format carries is left out.
QString ClockText(const QDateTime& now, const QLocale& locale);

// The long time format without its time-zone token.
QString LongTimeFormatWithoutZone(const QLocale& locale);

// A status-bar pane showing the current date and time, re-evaluated every
// 500 ms and repainted only when its text changes.
class ClockPane final : public QLabel {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit ClockPane(Clock clock, QWidget* parent = nullptr);

    // One tick: true when the text changed.
    bool tick();

    static constexpr int kTickMilliseconds = 500;

private:
    Clock m_clock;
    QTimer* m_timer;
};

}  // namespace hcalc
