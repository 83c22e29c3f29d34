#include "app/WindowInfo.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

#include "filegrid/VmColorLib.h"
#include "ui/DesignScale.h"

namespace {

// The positions and sizes of the dialog's design, scaled to its font; without
// a width the control takes the size its text needs.
double Scale = 1;

template <typename TWidget>
TWidget* Place(TWidget* Widget, const char* Name, int Left, int Top, int Width = -1, int Height = -1) {
  Widget->setObjectName(QString::fromLatin1(Name));
  if (Width < 0) Widget->adjustSize();
  const QRect Design = Scaled(QRect(Left, Top, std::max(Width, 0), std::max(Height, 0)), Scale);
  Widget->setGeometry(Design.left(), Design.top(), Width < 0 ? Widget->width() : Design.width(),
                      Height < 0 ? Widget->height() : Design.height());
  return Widget;
}

QLabel* BoldLabel(const QString& Caption, QWidget* Parent) {
  auto* Label = new QLabel(Caption, Parent);
  QFont Font = Label->font();
  Font.setBold(true);
  Label->setFont(Font);
  return Label;
}

// The program's logo: a blue tile with "Q2" and a small arrow, for "renamed".
QPixmap DrawLogo(QSize Size) {
  QPixmap Logo(Size);
  Logo.fill(Qt::white);
  QPainter Painter(&Logo);
  const QRect Tile(Size.width() - Scaled(44, Scale), Scaled(2, Scale), Scaled(41, Scale), Scaled(41, Scale));
  QPainterPath Rounded;
  Rounded.addRoundedRect(Tile, Scaled(7, Scale), Scaled(7, Scale));
  Painter.setClipPath(Rounded);
  DrawGradient(Painter, Tile, RgbToColor({74, 134, 222}), 0, 3, RgbToColor({22, 62, 140}), QGuiApplication::palette());
  Painter.setClipping(false);
  Painter.setRenderHint(QPainter::Antialiasing);
  Painter.setPen(Qt::white);
  QFont Font = Painter.font();
  Font.setBold(true);
  Font.setPixelSize(Scaled(18, Scale));
  Painter.setFont(Font);
  Painter.drawText(Tile.adjusted(0, -Scaled(6, Scale), 0, 0), Qt::AlignCenter, QStringLiteral("Q2"));
  Painter.setPen(QPen(Qt::white, 2 * Scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const auto S = [](int Value) { return Scaled(Value, Scale); };
  const int Y = Tile.bottom() - S(9);
  Painter.drawLine(Tile.left() + S(10), Y, Tile.right() - S(10), Y);
  Painter.drawLine(Tile.right() - S(10), Y, Tile.right() - S(15), Y - S(4));
  Painter.drawLine(Tile.right() - S(10), Y, Tile.right() - S(15), Y + S(4));
  return Logo;
}

}  // namespace

TLinkLabel::TLinkLabel(const QString& Address, QWidget* Parent) : QLabel(Address, Parent) {
  setCursor(Qt::PointingHandCursor);
  QFont Underlined = font();
  Underlined.setUnderline(true);
  setFont(Underlined);
  QPalette Colors = palette();
  Colors.setColor(QPalette::WindowText, ToQColor(clHotLight, palette()));
  setPalette(Colors);
  setToolTip(Address);
}

void TLinkLabel::mousePressEvent(QMouseEvent* Event) {
  FPressed = Event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(Event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* Event) {
  // A click is a press and a release of the left button over the label.
  const bool Click = FPressed && Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint());
  FPressed = false;
  QLabel::mouseReleaseEvent(Event);
  if (Click) emit clicked();
}

void TLinkLabel::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.setPen(palette().color(QPalette::WindowText));
  const QString Shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, width());
  Painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, Shown);
}

const std::vector<std::pair<QString, QString>>& TWindowInfo::Components() {
  static const std::vector<std::pair<QString, QString>> List = {
      {QStringLiteral("Qt"), QStringLiteral("https://www.qt.io/")},
      {QStringLiteral("zlib"), QStringLiteral("https://zlib.net/")},
      {QStringLiteral("libpng"), QStringLiteral("http://www.libpng.org/pub/png/libpng.html")},
      {tr("Adwaita icons"), QStringLiteral("https://gitlab.gnome.org/GNOME/adwaita-icon-theme")},
  };
  return List;
}

TWindowInfo::TWindowInfo(QWidget* Parent, TUrlOpener OpenUrl)
    : QDialog(Parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FOpenUrl(OpenUrl ? std::move(OpenUrl) : [](const QUrl& Url) { QDesktopServices::openUrl(Url); }) {
  setObjectName("WindowInfo");
  setWindowTitle(tr("Info"));
  Scale = DesignScale(font());
  setFixedSize(Scaled(QSize(393, 392), Scale));
  const int Width = 393;

  panelHeader = Place(new QWidget(this), "panelHeader", 0, 0, Width, 47);
  QPalette White = panelHeader->palette();
  White.setColor(QPalette::Window, Qt::white);
  White.setColor(QPalette::WindowText, Qt::black);
  panelHeader->setPalette(White);
  panelHeader->setAutoFillBackground(true);
  auto* HeaderBevel = Place(new QFrame(panelHeader), "bevelHeader", 0, 45, Width, 2);
  HeaderBevel->setFrameShape(QFrame::HLine);
  HeaderBevel->setFrameShadow(QFrame::Sunken);
  labelProgramName = Place(BoldLabel(QStringLiteral("Quorvane 2"), panelHeader), "labelProgramName", 8, 5);
  labelProgramName->resize(std::max(labelProgramName->width(), Scaled(113, Scale)), labelProgramName->height());
  labelProgramVersion = Place(new QLabel(tr("Version %1").arg(QStringLiteral(QUORVANE_VERSION)), panelHeader),
                              "labelProgramVersion", 8, 21);
  imageLogo = Place(new QLabel(panelHeader), "imageLogo", 309, 0, 76, 45);
  imageLogo->setPixmap(DrawLogo(imageLogo->size()));
  imageLogo->setToolTip(QStringLiteral("Quorvane 2"));

  labelNotice = Place(new QLabel(tr("Quorvane 2 renames many files in one go by rules. It is free "
                                     "software, given to you free of charge and without any "
                                     "warranty: use it at your own risk."),
                                 this),
                      "labelNotice", 8, 56, Width - 16, 56);
  labelNotice->setWordWrap(true);
  labelNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  labelComponentsHeader = Place(BoldLabel(tr("Used 3rd party components (special thanks to the authors)"), this),
                                "labelComponentsHeader", 8, 128);
  // Text wider than the dialog is cut at its edge: a long address shows its
  // middle elided, at the font of the others.
  labelComponentsHeader->resize(std::min(labelComponentsHeader->width(), Scaled(Width - 16, Scale)),
                                labelComponentsHeader->height());
  int Top = 152;
  for (const auto& [Name, Address] : Components()) {
    labelComponents.push_back(Place(new QLabel(Name, this), "labelComponent", 24, Top));
    auto* Link = Place(new TLinkLabel(Address, this), "linklabelComponent", 112, Top);
    Link->resize(std::min(Link->width(), Scaled(Width - 8 - 112, Scale)), Link->height());
    connect(Link, &TLinkLabel::clicked, this, [this, Link] { linkLabelClick(Link); });
    linklabelComponents.push_back(Link);
    Top += 16;
  }

  labelPluginsHeader = Place(BoldLabel(tr("Plugins"), this), "labelPluginsHeader", 8, 232);
  listviewPlugins = Place(new QTreeWidget(this), "listviewPlugins", 24, 256, 361, 89);
  listviewPlugins->setHeaderLabels({tr("Plugin"), tr("Author"), tr("Miscellaneous")});
  listviewPlugins->setRootIsDecorated(false);
  listviewPlugins->setSelectionBehavior(QAbstractItemView::SelectRows);
  listviewPlugins->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  bevelDivider2 = Place(new QFrame(this), "bevelDivider2", 0, 351, Width, 2);
  bevelDivider2->setFrameShape(QFrame::HLine);
  bevelDivider2->setFrameShadow(QFrame::Sunken);

  buttonClose = Place(new QPushButton(tr("Schließen"), this), "buttonClose", 280, 360, 105, 25);
  buttonClose->setDefault(true);
  buttonClose->setFocus();
  connect(buttonClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TWindowInfo::linkLabelClick(TLinkLabel* Label) { FOpenUrl(QUrl(Label->text())); }

void TWindowInfo::reject() { accept(); }
