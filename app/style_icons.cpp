#include "app/style_icons.h"

#include <QIconEngine>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>
#include <map>
#include <optional>
#include <utility>

namespace zendra {

// The wrapped style and the plain icons (no option, no widget) already read, shared with every
// deferred icon (which keeps it alive, so an icon that outlives the style reads as empty
// instead of crashing).
struct DeferredIconStyle::Loader {
  QPointer<QStyle> base;
  std::map<QStyle::StandardPixmap, QIcon> loaded;

  QIcon Read(QStyle::StandardPixmap which, const std::optional<QStyleOption>& option,
             const QWidget* widget) {
    if (base == nullptr) return QIcon();
    if (option || widget != nullptr)
      return base->standardIcon(which, option ? &*option : nullptr, widget);
    auto it = loaded.find(which);
    if (it == loaded.end()) it = loaded.emplace(which, base->standardIcon(which)).first;
    return it->second;
  }
};

namespace {

class DeferredIconEngine final : public QIconEngine {
 public:
  DeferredIconEngine(std::shared_ptr<DeferredIconStyle::Loader> loader,
                     QStyle::StandardPixmap which, std::optional<QStyleOption> option,
                     QPointer<QWidget> widget)
      : loader_(std::move(loader)), which_(which), option_(std::move(option)), widget_(widget) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Real().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Real().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Real().availableSizes(mode, state);
  }
  QString iconName() override { return Real().name(); }
  // Asked when the icon is set on an action or a button; answering must not read anything.
  bool isNull() override { return false; }
  QString key() const override { return QStringLiteral("zendra-deferred-style-icon"); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  // Read once, on the first use; a widget that is gone by then counts as none.
  const QIcon& Real() {
    if (!real_) real_ = loader_->Read(which_, option_, widget_.data());
    return *real_;
  }

  std::shared_ptr<DeferredIconStyle::Loader> loader_;
  QStyle::StandardPixmap which_;
  std::optional<QStyleOption> option_;
  QPointer<QWidget> widget_;
  std::optional<QIcon> real_;
};

}  // namespace

DeferredIconStyle::DeferredIconStyle(QStyle* base)
    : QProxyStyle(base), loader_(std::make_shared<Loader>()) {
  loader_->base = baseStyle();
}

DeferredIconStyle::~DeferredIconStyle() = default;

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
  // Standard icons read only the option's common part (its direction, state and palette), so
  // a copy of that part is kept for the real reading.
  std::optional<QStyleOption> kept;
  if (option != nullptr) kept = *option;
  return QIcon(
      new DeferredIconEngine(loader_, which, std::move(kept), const_cast<QWidget*>(widget)));
}

int DeferredIconStyle::LoadedCount() const { return static_cast<int>(loader_->loaded.size()); }

}  // namespace zendra
