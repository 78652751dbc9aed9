#include "app/style_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>
#include <map>
#include <optional>
#include <utility>

namespace zendra {

// The wrapped style and the icons already read, shared with every deferred icon (which keeps
// it alive, so an icon that outlives the style reads as empty instead of crashing).
struct DeferredIconStyle::Loader {
  QPointer<QStyle> base;
  std::map<std::pair<QStyle::StandardPixmap, const QWidget*>, QIcon> loaded;

  QIcon Get(QStyle::StandardPixmap which, const std::optional<QStyleOption>& option,
            const QPointer<QWidget>& widget, bool forWidget) {
    if (base == nullptr) return QIcon();
    // An icon made for a widget that is gone falls back to the widget-free one.
    const QWidget* w = forWidget ? widget.data() : nullptr;
    if (option) return base->standardIcon(which, &*option, w);  // not shared: options differ
    const auto key = std::make_pair(which, w);
    auto it = loaded.find(key);
    if (it == loaded.end()) it = loaded.emplace(key, base->standardIcon(which, nullptr, w)).first;
    return it->second;
  }
};

namespace {

class DeferredIconEngine final : public QIconEngine {
 public:
  DeferredIconEngine(std::shared_ptr<DeferredIconStyle::Loader> loader,
                     QStyle::StandardPixmap which, std::optional<QStyleOption> option,
                     QPointer<QWidget> widget, bool forWidget)
      : loader_(std::move(loader)),
        which_(which),
        option_(std::move(option)),
        widget_(widget),
        forWidget_(forWidget) {}

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
  QIconEngine* clone() const override {
    return new DeferredIconEngine(loader_, which_, option_, widget_, forWidget_);
  }

 private:
  QIcon Real() { return loader_->Get(which_, option_, widget_, forWidget_); }

  std::shared_ptr<DeferredIconStyle::Loader> loader_;
  QStyle::StandardPixmap which_;
  std::optional<QStyleOption> option_;
  QPointer<QWidget> widget_;
  bool forWidget_;
};

}  // namespace

DeferredIconStyle::DeferredIconStyle(QStyle* base)
    : QProxyStyle(base), loader_(std::make_shared<Loader>()) {}

DeferredIconStyle::~DeferredIconStyle() = default;

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
  if (loader_->base == nullptr) loader_->base = baseStyle();
  // Standard icons read only the option's common part (its direction, state and palette), so
  // a copy of that part is kept for the real reading.
  std::optional<QStyleOption> kept;
  if (option != nullptr) kept = *option;
  return QIcon(new DeferredIconEngine(loader_, which, std::move(kept), const_cast<QWidget*>(widget),
                                      widget != nullptr));
}

int DeferredIconStyle::LoadedCount() const { return static_cast<int>(loader_->loaded.size()); }

}  // namespace zendra
