// The Info dialog: credits, links and closing keys.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "app/WindowInfo.h"
#include "support/TestApplication.h"

namespace {

class WindowInfoTest : public ::testing::Test {
 protected:
  WindowInfoTest() : Info((TestApplication(), nullptr), [this](const QUrl& Url) { Opened.push_back(Url); }) {}

  std::vector<QUrl> Opened;
  TWindowInfo Info;
};

}  // namespace

TEST_F(WindowInfoTest, ShowsTheVersionAndEveryLinkWhole) {
  EXPECT_EQ(Info.labelProgramVersion->text(), "Version " QUORVANE_VERSION);
  EXPECT_EQ(Info.linklabelComponents.size(), Info.labelComponents.size());
  for (TLinkLabel* Link : Info.linklabelComponents) EXPECT_LE(Link->geometry().right(), Info.width());
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
    Info.show();
    QTest::keyClick(&Info, Key);
    EXPECT_FALSE(Info.isVisible()) << Key;
    EXPECT_EQ(Info.result(), QDialog::Accepted);
    Info.setResult(0);
  }
}
