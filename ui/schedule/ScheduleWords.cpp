#include "ScheduleWords.h"

#include "schedule/LocalTime.h"
#include "schedule/ScheduleText.h"

#include <QStringList>

namespace wt::ui {

namespace {

// "20:00", or "20:00:30" when the seconds are not zero.
QString TimeOfDay(int second) {
    QString text = QString::fromStdString(schedule::FormatTimeOfDay(second));
    return second % 60 == 0 ? text.left(5) : text;
}

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

QString ClockTime(std::int64_t unixTime) {
    return QString::fromStdString(schedule::FormatTimeOfDay(schedule::ToLocal(unixTime).second)).left(5);
}

QString DayAndTime(std::int64_t unixTime) {
    const schedule::LocalDateTime local = schedule::ToLocal(unixTime);
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QLatin1String(schedule::kWeekdayNames[schedule::Weekday(local.date)]))
        .arg(local.date.day)
        .arg(QLatin1String(kMonths[local.date.month - 1]), TimeOfDay(local.second));
}

QString WhenText(const schedule::Schedule& s) {
    const QString at = TimeOfDay(s.startSecond);
    switch (s.repeat) {
    case schedule::Repeat::Once:
        return QStringLiteral("Once on %1-%2-%3 at %4")
            .arg(s.date.year, 4, 10, QLatin1Char('0'))
            .arg(s.date.month, 2, 10, QLatin1Char('0'))
            .arg(s.date.day, 2, 10, QLatin1Char('0'))
            .arg(at);
    case schedule::Repeat::Daily:
        return QStringLiteral("Daily at %1").arg(at);
    case schedule::Repeat::Weekdays: {
        QStringList days;
        for (int i = 0; i < 7; ++i)
            if ((s.weekdays >> i) & 1) days << QLatin1String(schedule::kWeekdayNames[i]);
        return QStringLiteral("%1 at %2").arg(days.join(QStringLiteral(", ")), at);
    }
    }
    return {};
}

QString LengthText(const schedule::Schedule& s) {
    if (s.length == schedule::Length::Until) return QStringLiteral("until %1").arg(TimeOfDay(s.endSecond));
    const int minutes = s.durationSeconds / 60, seconds = s.durationSeconds % 60;
    QStringList parts;
    if (minutes / 60) parts << QStringLiteral("%1 h").arg(minutes / 60);
    if (minutes % 60) parts << QStringLiteral("%1 min").arg(minutes % 60);
    if (seconds || parts.isEmpty()) parts << QStringLiteral("%1 s").arg(seconds);
    return parts.join(QLatin1Char(' '));
}

QString ScheduledUntilText(std::int64_t end) { return QStringLiteral("Scheduled until %1").arg(ClockTime(end)); }

}  // namespace wt::ui
