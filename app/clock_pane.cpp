#include "app/clock_pane.h"

#include <QTimer>

#include <utility>

namespace hcalc {

QString LongTimeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        }
        if (!quoted && c == u't') {
            continue;  // time-zone name (or offset)
        }
        out += c;
    }
    return out.simplified();
}

QString ClockText(const QDateTime& now, const QLocale& locale) {
    QString text = locale.toString(now.date(), QLocale::ShortFormat);
    if (now.time().hour() != 0 || now.time().minute() != 0 || now.time().second() != 0) {
        text += u' ';
        text += locale.toString(now.time(), LongTimeFormatWithoutZone(locale));
    }
    return text;
}

ClockPane::ClockPane(Clock clock, QWidget* parent)
    : QLabel(parent), m_clock(std::move(clock)), m_timer(new QTimer(this)) {
    setAlignment(Qt::AlignCenter);
    connect(m_timer, &QTimer::timeout, this, &ClockPane::tick);
    m_timer->start(kTickMilliseconds);
    tick();
}

bool ClockPane::tick() {
    const QString next = ClockText(m_clock(), QLocale::system());
    if (next == text()) {
        return false;
    }
    setText(next);
    return true;
}

}  // namespace hcalc
