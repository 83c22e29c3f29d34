#include "filegrid/FileGridLayout.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/VmStringLib.h"

namespace {

constexpr int ColumnCount = FileGridColumnCount;

bool IsPlace(int Position) { return Position >= 0 && Position < ColumnCount; }

}  // namespace

TFileGridLayout DefaultFileGridLayout() {
  TFileGridLayout Layout;
  for (int Column = 0; Column < ColumnCount; ++Column)
    Layout.Columns[Column] = {DesignedColumnWidths[Column], Column, true};
  return Layout;
}

std::unique_ptr<TXmlNode> SaveOptions(const TFileGridLayout& Layout) {
  auto Options = std::make_unique<TXmlNode>("FileGridOptions");
  Options->Elements().AddNew<TXmlNode>("SortColumn").Elements().AddNew<TXmlText>(int32_t{Layout.SortColumn});
  Options->Elements().AddNew<TXmlNode>("SortDirection",
                                       Layout.SortDirection == sdDescending ? "Descending" : "Ascending");
  auto& Columns = Options->Elements().AddNew<TXmlNode>("Columns");
  for (int Index = 0; Index < ColumnCount; ++Index) {
    const TFileGridColumnLayout& Column = Layout.Columns[Index];
    auto& Node = Columns.Elements().AddNew<TXmlNode>("Column");
    Node.Attributes.Add("Index", std::to_string(Index));
    Node.Attributes.Add("Width", std::to_string(Column.Width));
    Node.Attributes.Add("Position", std::to_string(Column.Position));
    Node.Attributes.Add("Visible", Column.Visible ? "True" : "False");
  }
  return Options;
}

bool LoadOptions(const TXmlNode& Element, TFileGridLayout& Layout) {
  if (const TXmlNode* Sort = Element.FindNode("SortColumn")) {
    const TXmlText* Text = Sort->TextElement();
    if (Text && Text->IsInteger()) Layout.SortColumn = std::clamp(Text->AsInteger(), -1, ColumnCount - 1);
  }
  if (const TXmlNode* Direction = Element.FindNode("SortDirection"))
    Layout.SortDirection = Direction->Text() == "Ascending" ? sdAscending : sdDescending;

  std::array<std::optional<int>, ColumnCount> Requested;
  if (const TXmlNode* Columns = Element.FindNode("Columns")) {
    for (const auto& Child : Columns->Elements()) {
      const auto* Node = XmlAs<TXmlNode>(Child.get());
      if (!Node) continue;
      const std::optional<int32_t> Index = TryStrToInt(Node->Attributes.GetValue("Index"));
      if (!Index || !IsPlace(*Index)) continue;
      TFileGridColumnLayout& Column = Layout.Columns[*Index];
      if (const auto Width = TryStrToInt(Node->Attributes.GetValue("Width")))
        Column.Width = std::clamp(*Width, MinColumnWidth, MaxColumnWidth);
      if (const auto Position = TryStrToInt(Node->Attributes.GetValue("Position"))) Requested[*Index] = *Position;
      if (const auto Visible = TryStrToBool(Node->Attributes.GetValue("Visible"))) Column.Visible = *Visible;
    }
  }
  // Positions are applied together rather than one column at a time: moving
  // columns one by one shifts those placed before and loses some arrangements.
  if (std::any_of(Requested.begin(), Requested.end(), [](const auto& P) { return P.has_value(); }))
    SetVisualOrder(Layout, ArrangeColumns(VisualOrder(Layout), Requested));
  return true;
}

TFileGridColumnOrder ArrangeColumns(const TFileGridColumnOrder& Previous,
                                    const std::array<std::optional<int>, ColumnCount>& Requested) {
  TFileGridColumnOrder Order;
  Order.fill(-1);
  std::array<bool, ColumnCount> Placed{};
  for (int Column = 0; Column < ColumnCount; ++Column) {
    const std::optional<int>& Position = Requested[Column];
    if (Position && IsPlace(*Position) && Order[*Position] < 0) {
      Order[*Position] = Column;
      Placed[Column] = true;
    }
  }
  // Previous is taken as a list of preferences: each column once, where it
  // first appears; a column it lacks goes behind the others.
  std::vector<int> Preference;
  std::array<bool, ColumnCount> Listed{};
  for (const int Column : Previous)
    if (IsPlace(Column) && !Listed[Column]) {
      Listed[Column] = true;
      Preference.push_back(Column);
    }
  for (int Column = 0; Column < ColumnCount; ++Column)
    if (!Listed[Column]) Preference.push_back(Column);

  std::vector<int> Rest;
  for (const bool WantsLast : {false, true})
    for (const int Column : Preference)
      if (!Placed[Column] && (Requested[Column] && !IsPlace(*Requested[Column])) == WantsLast)
        Rest.push_back(Column);
  auto Next = Rest.begin();
  for (int& Slot : Order)
    if (Slot < 0) Slot = *Next++;
  return Order;
}

TFileGridColumnOrder VisualOrder(const TFileGridLayout& Layout) {
  TFileGridColumnOrder ByNumber;
  std::array<std::optional<int>, ColumnCount> Requested;
  for (int Column = 0; Column < ColumnCount; ++Column) {
    ByNumber[Column] = Column;
    Requested[Column] = Layout.Columns[Column].Position;
  }
  return ArrangeColumns(ByNumber, Requested);
}

void SetVisualOrder(TFileGridLayout& Layout, const TFileGridColumnOrder& Order) {
  for (int Position = 0; Position < ColumnCount; ++Position)
    if (IsPlace(Order[Position])) Layout.Columns[Order[Position]].Position = Position;
}
