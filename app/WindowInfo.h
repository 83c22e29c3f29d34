// The Info dialog: the program's name and version, a short notice, the
// components it is built with and links to their web pages.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

#include <functional>

class QFrame;
class QPushButton;
class QTreeWidget;

// Opens a web address; the dialog's default asks the desktop.
using TUrlOpener = std::function<void(const QUrl&)>;

// A label that shows a web address underlined in the link colour with a hand
// cursor, and reports a left click. An address wider than the label is shown
// shortened in the middle; its text stays the whole address.
class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  TLinkLabel(const QString& Address, QWidget* Parent);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;

 private:
  bool FPressed = false;
};

class TWindowInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TWindowInfo(QWidget* Parent = nullptr, TUrlOpener OpenUrl = {});

  // The component credits in order: name, web address.
  static const std::vector<std::pair<QString, QString>>& Components();

  // Opens the address of the link label that was clicked; the dialog stays open.
  void linkLabelClick(TLinkLabel* Label);

  QWidget* panelHeader;
  QLabel* labelProgramName;
  QLabel* labelProgramVersion;
  QLabel* imageLogo;
  QLabel* labelNotice;
  QLabel* labelComponentsHeader;
  std::vector<QLabel*> labelComponents;
  std::vector<TLinkLabel*> linklabelComponents;
  QLabel* labelPluginsHeader;
  QTreeWidget* listviewPlugins;
  QFrame* bevelDivider2;
  QPushButton* buttonClose;

 public slots:
  // Every way of leaving the dialog (Esc, the window's close button) counts
  // as Close, which answers OK.
  void reject() override;

 private:
  TUrlOpener FOpenUrl;
};
