// The document tree: lists of children, the adding rules, lookups, value
// conversions, and the interpretation of declaration and stylesheet attributes.
#include <algorithm>
#include <bit>

#include "base/VmFileLib.h"
#include "base/VmStringLib.h"
#include "xml/Xml.h"
#include "xml/XmlChars.h"

namespace {

constexpr const char* InvalidNodeType =
    "The passed XmlNode has an invalid node type for this XmlNode and can not be added!";

int KindIndex(uint32_t Kind) { return std::countr_zero(Kind); }

// Whether Element is Container itself or one of its ancestors; adding it
// there would make the tree a cycle.
bool IsSelfOrAncestor(const TXmlElement& Element, const TXmlElementContainer& Container) {
  if (&Element == &Container) return true;
  // Only a container with children can be an ancestor of anything.
  const auto* AsContainer = XmlAs<TXmlElementContainer>(&Element);
  if (!AsContainer || AsContainer->Elements().Count() == 0) return false;
  for (const TXmlElement* Above = Container.Parent(); Above; Above = Above->Parent())
    if (Above == &Element) return true;
  return false;
}

}  // namespace

// ---- TXmlElementList ------------------------------------------------------

TXmlElementList::~TXmlElementList() { Clear(); }

int TXmlElementList::Add(std::unique_ptr<TXmlElement> Element) {
  if (Element->Parent()) throw std::logic_error("TXmlElementList::Add: element is owned elsewhere");
  if (IsSelfOrAncestor(*Element, FOwner) || !FOwner.CanAdd(*Element)) throw Exception(InvalidNodeType);
  Append(std::move(Element));
  return Count() - 1;
}

int TXmlElementList::Add(TXmlElement& Element) {
  TXmlElementContainer* Parent = Element.Parent();
  if (!Parent) throw std::logic_error("TXmlElementList::Add: element has no owner");
  if (IsSelfOrAncestor(Element, FOwner) || !FOwner.CanAdd(Element)) throw Exception(InvalidNodeType);
  Append(Parent->Elements().Detach(&Element));
  return Count() - 1;
}

void TXmlElementList::Append(std::unique_ptr<TXmlElement> Element) {
  Element->FParent = &FOwner;
  ++FKindCounts[KindIndex(Element->Kind())];
  FItems.push_back(std::move(Element));
}

std::unique_ptr<TXmlElement> TXmlElementList::Detach(TXmlElement* Element) {
  const auto Found = std::find_if(FItems.begin(), FItems.end(),
                                  [Element](const auto& Item) { return Item.get() == Element; });
  if (Found == FItems.end()) return nullptr;
  std::unique_ptr<TXmlElement> Taken = std::move(*Found);
  FItems.erase(Found);
  --FKindCounts[KindIndex(Taken->Kind())];
  Taken->FParent = nullptr;
  return Taken;
}

void TXmlElementList::Remove(TXmlElement* Element) { Detach(Element); }

void TXmlElementList::Clear() {
  FItems.clear();
  std::fill(std::begin(FKindCounts), std::end(FKindCounts), 0);
}

TXmlElement* TXmlElementList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(Index)].get();
}

int TXmlElementList::CountOf(uint32_t ElementClass) const {
  int Result = 0;
  for (int I = 0; I < int{xkKindCount}; ++I)
    if (ElementClass & (1u << I)) Result += FKindCounts[I];
  return Result;
}

TXmlElement* TXmlElementList::FirstOf(uint32_t ElementClass) const {
  for (const auto& Item : FItems)
    if (Item->Kind() & ElementClass) return Item.get();
  return nullptr;
}

std::unique_ptr<TXmlElementListEnumerator> TXmlElementList::GetEnumerator(uint32_t ElementClass) const {
  return std::make_unique<TXmlElementListEnumerator>(*this, ElementClass);
}

// ---- TXmlElementListEnumerator -------------------------------------------

TXmlElement* TXmlElementListEnumerator::GetCurrent() const { return FList.Items(FIndex); }

bool TXmlElementListEnumerator::MoveNext() {
  // Count is read on every step: the list may change while it is enumerated.
  while (FIndex + 1 < FList.Count()) {
    ++FIndex;
    if (FList.Items(FIndex)->Kind() & FElementClass) return true;
  }
  return false;
}

// ---- Containers ----------------------------------------------------------

TXmlNode* TXmlElementContainer::FindNode(std::string_view Name) const {
  for (const auto& Item : FElements) {
    auto* Node = XmlAs<TXmlNode>(Item.get());
    if (Node && Node->Name == Name) return Node;
  }
  return nullptr;
}

TXmlNode::TXmlNode(std::string Name, std::string Text) : Name(std::move(Name)) {
  Elements().AddNew<TXmlText>(std::move(Text));
}

bool TXmlNode::CanAdd(const TXmlElement& Element) const {
  return (Element.Kind() & (xkNode | xkComment | xkText | xkProcessingInstruction)) != 0;
}

TXmlText* TXmlNode::TextElement() const { return Elements().FirstOf<TXmlText>(); }

std::string TXmlNode::Text() const {
  std::string Result;
  for (const auto& Item : Elements())
    if (const auto* Text = XmlAs<TXmlText>(Item.get())) Result += Text->Text;
  return Result;
}

bool TXmlFile::CanAdd(const TXmlElement& Element) const {
  const uint32_t Kind = Element.Kind();
  if (Kind == xkNode) return Elements().CountOf<TXmlNode>() == 0;
  if (Kind == xkDeclaration) return Elements().CountOf<TXmlDeclaration>() == 0;
  return (Kind & (xkComment | TXmlInstruction::ClassMask)) != 0;
}

TXmlNode* TXmlFile::RootNode() const { return Elements().FirstOf<TXmlNode>(); }

std::string TXmlFile::GetXml() const {
  TXmlWriter Writer;
  WriteTo(Writer);
  return Writer.GetXml();
}

void TXmlFile::SaveToFile(const std::string& FileName) const {
  // The whole text is built before the file is touched, so a tree that
  // cannot be written leaves an existing file as it was.
  WriteFileAtomic(FileName, GetXml());
}

bool TXmlFile::LoadFromFile(const std::string& FileName, size_t MaxSize) {
  if (FileName.empty()) return false;
  const std::string Text = ReadWholeFile(FileName, MaxSize);
  if (Text.empty()) return false;
  Elements().Clear();
  TXmlReader(xsDefault, false).Parse(Text, *this);
  return true;
}

// ---- Values --------------------------------------------------------------

bool TXmlText::IsInteger() const { return TryStrToInt(Text).has_value(); }

int32_t TXmlText::AsInteger() const {
  const std::optional<int32_t> Value = TryStrToInt(Text);
  if (!Value) throw EConvertError("\"" + Text + "\" is not a valid integer value");
  return *Value;
}

bool TXmlText::IsBoolean() const { return TryStrToBool(Text).has_value(); }

bool TXmlText::AsBoolean() const {
  const std::optional<bool> Value = TryStrToBool(Text);
  if (!Value) throw EConvertError("\"" + Text + "\" is not a valid boolean value");
  return *Value;
}

// ---- Attributed instructions ----------------------------------------------

TXmlDeclaration::TXmlDeclaration(TXmlEncoding Encoding, std::string EncodingName)
    : Encoding(Encoding), EncodingName(std::move(EncodingName)) {
  Attributes.OnAdd = [this](TVmHashtable& Table, const std::string& Key) {
    const std::string Value = Table.GetValue(Key);
    if (Key == "version") {
      Version = Value;
    } else if (Key == "standalone") {
      if (Value == "yes")
        Standalone = true;
      else if (Value == "no")
        Standalone = false;
      else
        throw EXmlException("Invalid attribute for XML-Declaration attribute \"standalone\"!");
    } else if (Key == "encoding") {
      // EncodingName always follows the latest attribute, so a repeated one never leaves it stale.
      this->Encoding = Value == "windows-1252" ? xeWindows1252 : xeCustom;
      this->EncodingName = this->Encoding == xeCustom ? Value : std::string();
    } else {
      throw EXmlException("Invalid/unknown attribute (\"" + Key + "\") inside XML-Declaration!");
    }
    Table.Remove(Key);
  };
}

TXmlStylesheetReference::TXmlStylesheetReference() {
  Attributes.OnAdd = [this](TVmHashtable& Table, const std::string& Key) {
    const std::string Value = Table.GetValue(Key);
    if (Key == "href") {
      Href = Value;
    } else if (Key == "type") {
      StylesheetType = stCustom;
      for (uint8_t Type = stCss; Type < stCustom; ++Type)
        if (Value == XmlStylesheetTypeNames[Type]) StylesheetType = static_cast<TXmlStylesheetType>(Type);
      if (StylesheetType == stCustom) CustomType = Value;
    } else {
      throw EXmlException("Invalid/unknown attribute (\"" + Key + "\") inside XML-Stylesheet-Declaration!");
    }
    Table.Remove(Key);
  };
}
