// A style whose standard icons are read when first drawn.
//
// A style's standard icon reads its pictures (several sizes, from the style's resources or the
// icon theme, which also loads Qt's image format plug-ins) as soon as it is made. The main
// window gives some twenty commands such icons, most of them seen only when a menu opens, and
// every toolbar makes one for its extension button, so making them all up front held up the
// first window by several milliseconds. DeferredIconStyle wraps the application's style and
// hands out icons that ask the wrapped style only when Qt first wants a size, a picture or a
// paint of them; each standard icon is read once however many commands share it.
#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <memory>

namespace zendra {

class DeferredIconStyle : public QProxyStyle {
 public:
  // Wraps `base` (owned), or the platform's default style when null.
  explicit DeferredIconStyle(QStyle* base = nullptr);
  ~DeferredIconStyle() override;

  // Every standard icon comes back deferred and is read at its first use; icons asked for
  // without a style option or widget are read once for all who share them.
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;

  // How many of the shared icons (no option, no widget) have really been read so far.
  int LoadedCount() const;

  struct Loader;

 private:
  std::shared_ptr<Loader> loader_;
};

}  // namespace zendra
