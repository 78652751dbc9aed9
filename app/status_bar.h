// The main window's status bar: two text panels, the first 60 wide at the start. A double click
// switches the first panel between 60 and the bar's width less 60, so long remarks can be read.
#pragma once

#include <QStatusBar>

class QLabel;

namespace zendra {

class StatusBar2 : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusBar2(QWidget* parent = nullptr);

  // The panels' texts.
  void SetLeft(const QString& text);
  void SetRight(const QString& text);
  QString Left() const;
  QString Right() const;
  // Width of the first panel.
  int LeftWidth() const;
  // The double-click rule: 60 when the first panel is 100 or wider, else the bar's width - 60.
  void ToggleLeftWidth();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  QLabel* left_;
  QLabel* right_;
};

}  // namespace zendra
