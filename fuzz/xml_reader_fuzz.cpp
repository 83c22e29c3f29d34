// Feeds arbitrary bytes to the XML reader. Errors are expected; crashes,
// hangs and sanitizer reports are not. A text that parses is written out and
// read again, and where the writer's layout promises it, the second tree must
// equal the first.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "xml/Xml.h"

namespace {

bool IsBlank(const std::string& Text) {
  return Text.find_first_not_of(" \t\r\n") == std::string::npos;
}

bool Contains(const std::string& Text, std::string_view What) { return Text.find(What) != std::string::npos; }

// Whether the tree below Container reads back unchanged after writing. These
// do not: a plain text that is not its element's first child (the layout
// puts a line break and indentation in front of it, or merges it with the
// text before), an empty or blank plain text, instruction data that begins
// with whitespace, empty names, plain attributed instructions, and the
// terminators "]]>", "-->" and "?>" inside CDATA, comments and data.
bool RoundTrips(const TXmlElementContainer& Container) {
  int Index = 0;
  for (const auto& Child : Container.Elements()) {
    const TXmlElement* Element = Child.get();
    if (const auto* Node = XmlAs<TXmlNode>(Element)) {
      if (Node->Name.empty() || !RoundTrips(*Node)) return false;
      for (const THashtableItem* Item = Node->Attributes.First(); Item; Item = Item->Next.get())
        if (Item->Key.empty()) return false;
    } else if (const auto* Text = XmlAs<TXmlText>(Element)) {
      if (Text->IsCData) {
        if (Contains(Text->Text, "]]>")) return false;
      } else if (Index > 0 || IsBlank(Text->Text)) {
        return false;
      }
    } else if (const auto* Comment = XmlAs<TXmlComment>(Element)) {
      if (Contains(Comment->Text, "-->")) return false;
    } else if (const auto* Instruction = XmlAs<TXmlProcessingInstruction>(Element)) {
      if (Instruction->Target.empty() || Contains(Instruction->Data, "?>")) return false;
      if (!Instruction->Data.empty() && IsBlank(Instruction->Data.substr(0, 1))) return false;
    } else if (XmlIs<TXmlDeclaration>(Element) || XmlIs<TXmlStylesheetReference>(Element)) {
      // Their fields are written as attributes and read back as such.
    } else {
      return false;  // a plain attributed instruction
    }
    ++Index;
  }
  return true;
}

bool SameAttributes(const TVmHashtable& A, const TVmHashtable& B) {
  const THashtableItem* X = A.First();
  const THashtableItem* Y = B.First();
  for (; X && Y; X = X->Next.get(), Y = Y->Next.get())
    if (X->Key != Y->Key || X->Value != Y->Value) return false;
  return !X && !Y;
}

bool Same(const TXmlElement& A, const TXmlElement& B);

bool SameChildren(const TXmlElementContainer& A, const TXmlElementContainer& B) {
  if (A.Elements().Count() != B.Elements().Count()) return false;
  for (int I = 0; I < A.Elements().Count(); ++I)
    if (!Same(*A.Elements().Items(I), *B.Elements().Items(I))) return false;
  return true;
}

bool Same(const TXmlElement& A, const TXmlElement& B) {
  if (A.Kind() != B.Kind()) return false;
  if (const auto* X = XmlAs<TXmlNode>(&A)) {
    const auto* Y = XmlAs<TXmlNode>(&B);
    return X->Name == Y->Name && X->XmlSpace == Y->XmlSpace && X->XmlLang == Y->XmlLang &&
           SameAttributes(X->Attributes, Y->Attributes) && SameChildren(*X, *Y);
  }
  if (const auto* X = XmlAs<TXmlText>(&A)) {
    const auto* Y = XmlAs<TXmlText>(&B);
    return X->IsCData == Y->IsCData && X->Text == Y->Text;
  }
  if (const auto* X = XmlAs<TXmlComment>(&A)) return X->Text == XmlAs<TXmlComment>(&B)->Text;
  if (const auto* X = XmlAs<TXmlProcessingInstruction>(&A)) {
    const auto* Y = XmlAs<TXmlProcessingInstruction>(&B);
    return X->Target == Y->Target && X->Data == Y->Data;
  }
  if (const auto* X = XmlAs<TXmlDeclaration>(&A)) {
    const auto* Y = XmlAs<TXmlDeclaration>(&B);
    // Reading keeps EncodingName in step with the last encoding attribute, so it never goes stale.
    return X->Version == Y->Version && X->Encoding == Y->Encoding && X->Standalone == Y->Standalone &&
           X->EncodingName == Y->EncodingName && Y->Attributes.Count() == 0;
  }
  if (const auto* X = XmlAs<TXmlStylesheetReference>(&A)) {
    const auto* Y = XmlAs<TXmlStylesheetReference>(&B);
    return X->StylesheetType == Y->StylesheetType && X->Href == Y->Href &&
           (X->StylesheetType != stCustom || X->CustomType == Y->CustomType) && Y->Attributes.Count() == 0;
  }
  return false;
}

// The document's children in the order the writer puts them: the
// declaration first, wherever it stood.
bool SameDocument(const TXmlFile& First, const TXmlFile& Second) {
  const TXmlElementList& A = First.Elements();
  const TXmlElementList& B = Second.Elements();
  if (A.Count() != B.Count()) return false;
  const TXmlElement* Declaration = A.FirstOf<TXmlDeclaration>();
  int J = 0;
  if (Declaration) {
    if (!Same(*Declaration, *B.Items(0))) return false;
    J = 1;
  }
  for (int I = 0; I < A.Count(); ++I) {
    if (A.Items(I) == Declaration) continue;
    if (!Same(*A.Items(I), *B.Items(J++))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  TXmlFile First;
  try {
    TXmlReader(xsDefault, false).Parse(Text, First);
  } catch (const std::exception&) {
    return 0;  // refused input; what was read so far is freed with the document
  }
  if (!RoundTrips(First)) return 0;

  const std::string Written = First.GetXml();
  TXmlFile Second;
  try {
    TXmlReader(xsDefault, false).Parse(Written, Second);
  } catch (const std::exception&) {
    __builtin_trap();  // the writer produced text its own reader refuses
  }
  if (!SameDocument(First, Second)) __builtin_trap();
  // The same tree is written the same way.
  if (Second.GetXml() != Written) __builtin_trap();
  return 0;
}
