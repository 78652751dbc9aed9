// The main window's status bar: two text panels, the first 60 wide at the start. A double click
// switches the first panel between 60 and the bar's width less the room of the second. The
// second panel shows the comment of the node reached: as much as fits, cut with "…", and the
// whole text as its tooltip. While a review or a practice session runs, a third panel at the
// right end tells how it stands; it is hidden otherwise.
#pragma once

#include <QStatusBar>

class QLabel;

namespace zendra {

class StatusBar2 : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusBar2(QWidget* parent = nullptr);

  // The panels' texts (the whole texts, however much the panels show).
  void SetLeft(const QString& text);
  void SetRight(const QString& text);
  QString Left() const;
  QString Right() const;
  // The review's or practice session's panel; empty hides it.
  void SetSession(const QString& text);
  QString Session() const;
  // What the second panel shows now.
  QString RightShown() const;
  // Width of the first panel.
  int LeftWidth() const;
  // The double-click rule: 60 when the first panel is 100 or wider, else the bar's width less
  // 60, or less the comment's own width up to half the bar when it needs more, so a widened
  // first panel never leaves the comment a stub.
  void ToggleLeftWidth();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ShowRight();

  QLabel* left_;
  QLabel* right_;
  QLabel* session_;
  QString rightText_;
};

}  // namespace zendra
