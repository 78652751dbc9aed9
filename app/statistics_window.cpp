// The statistics window (built into libzendra_statistics_module.so with Qt Charts).
#include "app/statistics_window.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLineSeries>
#include <QScrollArea>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

namespace zendra {
namespace {

// Days shown in the chart of attempts: the last ones with attempts.
constexpr int kDaysShown = 30;

QString Day(int64_t day) { return QDate(1970, 1, 1).addDays(day).toString("MM-dd"); }

// Noon of local days, for a time axis. The offset from UTC is taken once: asking for each day's
// own costs a look at the time zone files per point, and a change of summer time moves a point
// by an hour within its day.
class Noons {
 public:
  explicit Noons(int64_t day)
      : offsetMs_(1000LL * QDateTime(QDate(1970, 1, 1).addDays(day), QTime(12, 0)).offsetFromUtc()) {}
  qreal operator()(int64_t day) const {
    return static_cast<qreal>((day * 86400 + 12 * 3600) * 1000 - offsetMs_);
  }

 private:
  int64_t offsetMs_;
};

// A chart of `series` over the categories `x`, counts from 0 to `most` up the side. Up to ten
// categories each have their label; more have one every few, so that the labels keep their
// room rather than being cut to "...".
QChart* BarChart(const char* title, QBarSeries* series, const QStringList& x, int most) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->addSeries(series);
  QAbstractAxis* along = nullptr;
  if (x.size() <= 10) {
    auto* categories = new QBarCategoryAxis;
    categories->append(x);
    along = categories;
  } else {
    // The bars stand at 0, 1, 2, ...; a label under every `step`-th one and the last.
    auto* labelled = new QCategoryAxis;
    labelled->setRange(-0.5, x.size() - 0.5);
    labelled->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const auto step = static_cast<int>((x.size() + 6) / 7);
    const auto last = static_cast<int>(x.size() - 1);
    for (int i = last % step; i <= last; i += step) labelled->append(x[i], i);
    along = labelled;
  }
  auto* counts = new QValueAxis;
  counts->setRange(0, most);
  counts->setLabelFormat("%d");
  // Whole numbers only: a tick per count while they are few.
  if (most <= 10) {
    counts->setTickCount(most + 1);
  } else {
    counts->applyNiceNumbers();
  }
  chart->addAxis(along, Qt::AlignBottom);
  chart->addAxis(counts, Qt::AlignLeft);
  series->attachAxis(along);
  series->attachAxis(counts);
  return chart;
}

QChartView* View(QChart* chart, const char* name) {
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* view = new QChartView(chart);
  view->setObjectName(name);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumHeight(230);
  return view;
}

QTableWidget* CollectionTable(const StatisticsContent& c) {
  const QStringList headers = {"Collection", "Problems", "Attempted", "Solved",
                               "Clean at first try"};
  auto* table = new QTableWidget(static_cast<int>(c.numbers.collections.size()),
                                 static_cast<int>(headers.size()));
  table->setObjectName("tblCollections");
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  int row = 0;
  for (const CollectionStatistics& s : c.numbers.collections) {
    const QString rate = s.attempted ? QString::number(100.0 * s.CleanRate(), 'f', 0) + " %" : "-";
    const QStringList cells = {c.collectionNames.value(row), QString::number(s.problems),
                               QString::number(s.attempted), QString::number(s.solved),
                               QString("%1 (%2)").arg(s.cleanFirstTry).arg(rate)};
    for (int col = 0; col < cells.size(); ++col) {
      auto* item = new QTableWidgetItem(cells[col]);
      if (col > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, col, item);
    }
    ++row;
  }
  // The names take the room left; the numbers stay beside them.
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->setMinimumHeight(std::min(220, 30 + 28 * row));
  return table;
}

QChart* AttemptsChart(const StatisticsContent& c) {
  auto* attempts = new QBarSet("Attempts");
  auto* clean = new QBarSet("Clean solves");
  QStringList days;
  const auto& all = c.numbers.days;
  const size_t first = all.size() > kDaysShown ? all.size() - kDaysShown : 0;
  int most = 1;
  for (size_t i = first; i < all.size(); ++i) {
    *attempts << all[i].attempts;
    *clean << all[i].clean;
    days << Day(all[i].day);
    most = std::max(most, all[i].attempts);
  }
  auto* series = new QBarSeries;
  series->append(attempts);
  series->append(clean);
  return BarChart("Attempts and clean solves per day", series,
                  days.isEmpty() ? QStringList{Day(c.today)} : days, most);
}

QChart* LevelChart(const StatisticsContent& c) {
  auto* series = new QLineSeries;
  series->setName("Level estimate (30 = 10k, 39 = 1k, 40 = 1d)");
  const Noons noon(c.today);
  int64_t from = c.today, to = c.today;
  int low = 46, high = 0;
  for (const LevelPoint& p : c.numbers.level) {
    if (p.level <= 0) continue;  // the estimate told nothing yet
    series->append(noon(p.day), p.level);
    from = std::min(from, p.day);
    to = std::max(to, p.day);
    low = std::min(low, p.level);
    high = std::max(high, p.level);
  }
  const bool none = series->count() == 0;
  // A line of a day or a few shows its points (one alone draws no line); a long one needs none.
  series->setPointsVisible(series->count() <= 31);
  if (none) low = high = 30;  // 10 kyu, the middle of the scale, until there is a point
  auto* chart = new QChart;
  chart->setTitle(none ? "Level over time (too few problems solved for an estimate yet)" : "Level over time");
  chart->addSeries(series);
  auto* x = new QDateTimeAxis;
  // Days within the year; a longer line would show the same day twice, so it shows months.
  x->setFormat(to - from > 300 ? "yyyy-MM" : "MM-dd");
  const int64_t first = from - 1, last = std::max(to, from + 1);
  x->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(noon(first))),
              QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(noon(last))));
  // A tick a day while the days are few, so that no date shows twice.
  x->setTickCount(static_cast<int>(std::min<int64_t>(last - first + 1, 8)));
  auto* y = new QValueAxis;
  const int bottom = std::max(0, low - 2);
  const int top = std::min(46, high + 2);
  y->setRange(bottom, top);
  y->setTickCount(top - bottom + 1 <= 11 ? top - bottom + 1 : 5);
  y->setLabelFormat("%d");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  return chart;
}

QChart* ForecastChart(const StatisticsContent& c) {
  auto* due = new QBarSet("Reviews due");
  QStringList days;
  int most = 1;
  for (size_t i = 0; i < c.numbers.forecast.size(); ++i) {
    *due << c.numbers.forecast[i];
    days << (i == 0 ? QString("today") : Day(c.today + static_cast<int64_t>(i)));
    most = std::max(most, c.numbers.forecast[i]);
  }
  auto* series = new QBarSeries;
  series->append(due);
  return BarChart("Review forecast", series, days, most);
}

QWidget* MakeWindow(const StatisticsContent& content, QWidget* parent) {
  auto* window = new QWidget(parent, Qt::Window);
  window->setObjectName("StatisticsForm");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle("Statistics");
  auto* inner = new QWidget;
  auto* layout = new QVBoxLayout(inner);
  layout->addWidget(CollectionTable(content));
  layout->addWidget(View(AttemptsChart(content), "chartAttempts"));
  layout->addWidget(View(LevelChart(content), "chartLevel"));
  layout->addWidget(View(ForecastChart(content), "chartForecast"));
  auto* scroll = new QScrollArea;
  scroll->setWidget(inner);
  scroll->setWidgetResizable(true);
  auto* outer = new QVBoxLayout(window);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
  window->resize(640, 760);
  return window;
}

}  // namespace


}  // namespace zendra

extern "C" __attribute__((visibility("default"))) QWidget* ZendraStatisticsWindow(
    const zendra::StatisticsContent& content, QWidget* parent) {
  return zendra::MakeWindow(content, parent);
}
