// The Info dialog: layout, credits, links and closing keys.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/WindowInfo.h"
#include "filegrid/VmColorLib.h"
#include "support/TestApplication.h"

namespace {

class WindowInfoTest : public ::testing::Test {
 protected:
  WindowInfoTest() : Info((TestApplication(), nullptr), [this](const QUrl& Url) { Opened.push_back(Url); }) {}

  std::vector<QUrl> Opened;
  TWindowInfo Info;
};

}  // namespace

TEST_F(WindowInfoTest, ShowsNameVersionAndAnEmptyPluginList) {
  EXPECT_EQ(Info.windowTitle(), "Info");
  EXPECT_EQ(Info.size(), QSize(393, 392));
  EXPECT_EQ(Info.panelHeader->geometry(), QRect(0, 0, 393, 47));
  EXPECT_EQ(Info.panelHeader->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(Info.labelProgramName->text(), "Quorvane 2");
  EXPECT_TRUE(Info.labelProgramName->font().bold());
  EXPECT_EQ(Info.labelProgramVersion->text(), "Version " QUORVANE_VERSION);
  EXPECT_FALSE(Info.imageLogo->pixmap().isNull());
  EXPECT_EQ(Info.labelComponentsHeader->text(), "Used 3rd party components (special thanks to the authors)");
  EXPECT_EQ(Info.labelPluginsHeader->text(), "Plugins");
  QTreeWidgetItem* Header = Info.listviewPlugins->headerItem();
  EXPECT_EQ(QStringList({Header->text(0), Header->text(1), Header->text(2)}),
            QStringList({"Plugin", "Author", "Miscellaneous"}));
  EXPECT_EQ(Info.listviewPlugins->topLevelItemCount(), 0);
  EXPECT_EQ(Info.buttonClose->text(), "Schließen");
  EXPECT_EQ(Info.buttonClose->geometry(), QRect(280, 360, 105, 25));
}

TEST_F(WindowInfoTest, CreditsExactlyTheComponentsInUseWithTheirAddresses) {
  std::vector<std::pair<QString, QString>> Shown;
  for (size_t I = 0; I < Info.labelComponents.size(); ++I)
    Shown.emplace_back(Info.labelComponents[I]->text(), Info.linklabelComponents.at(I)->text());
  const std::vector<std::pair<QString, QString>> Expected = {
      {"Qt", "https://www.qt.io/"},
      {"zlib", "https://zlib.net/"},
      {"libpng", "http://www.libpng.org/pub/png/libpng.html"},
      {"Adwaita icons", "https://gitlab.gnome.org/GNOME/adwaita-icon-theme"}};
  EXPECT_EQ(Shown, Expected);
  for (TLinkLabel* Link : Info.linklabelComponents) {
    SCOPED_TRACE(Link->text().toStdString());
    EXPECT_EQ(Link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(Link->font().underline());
    EXPECT_EQ(Link->palette().color(QPalette::WindowText), ToQColor(clHotLight));
    EXPECT_LE(Link->geometry().right(), Info.width());
  }
}

TEST_F(WindowInfoTest, LinkClickOpensItsAddressAndLeavesTheDialogOpen) {
  Info.show();
  TLinkLabel* Link = Info.linklabelComponents.at(2);
  QTest::mouseClick(Link, Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseClick(Link, Qt::RightButton, {}, QPoint(3, 3));
  EXPECT_EQ(Opened, std::vector<QUrl>{QUrl("http://www.libpng.org/pub/png/libpng.html")});
  EXPECT_TRUE(Info.isVisible());
}

TEST_F(WindowInfoTest, EnterAndEscapeBothClose) {
  for (auto Key : {Qt::Key_Return, Qt::Key_Escape}) {
    SCOPED_TRACE(Key);
    Info.show();
    QTest::keyClick(&Info, Key);
    EXPECT_FALSE(Info.isVisible());
    EXPECT_EQ(Info.result(), QDialog::Accepted);
    Info.setResult(0);
  }
}
