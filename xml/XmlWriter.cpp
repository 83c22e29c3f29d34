// The writer: lazily closed start tags, indentation by depth, escaping, and
// the WriteTo operations of the document model.
#include "xml/Xml.h"
#include "xml/XmlChars.h"

namespace {

constexpr const char* InstructionTarget = "?";  // the item name that marks an open instruction

}  // namespace

TXmlWriter::TXmlWriter() { FStack.Push({xsNone, true, std::string()}); }

void TXmlWriter::Push(std::string_view Name) {
  FStack.Push({FStack.Peek().XmlSpace, false, std::string(Name)});
}

void TXmlWriter::BeginChild() {
  const TXmlWriterItem& Parent = FStack.Peek();
  if (!Parent.HasContent) {
    CloseStartTag();
    if (Parent.XmlSpace != xsPreserve) FOutput += LineBreak;
  }
  if (Indent && Parent.XmlSpace != xsPreserve) WriteIndent(FStack.Count() - 1);
}

void TXmlWriter::CloseStartTag() {
  TXmlWriterItem& Item = FStack.Peek();
  if (Item.HasContent) return;
  if (Item.Name == InstructionTarget) throw EXmlException("Processing Instructions may not have subnodes!");
  FOutput += '>';
  Item.HasContent = true;
}

void TXmlWriter::EndLine() {
  if (FStack.Peek().XmlSpace != xsPreserve) FOutput += LineBreak;
}

void TXmlWriter::WriteIndent(int Levels) {
  for (int I = 0; I < Levels; ++I) FOutput += IndentString;
}

void TXmlWriter::WriteName(std::string_view Name) {
  if (Name.empty()) return;
  if (!IsXmlNameStart(Name[0])) throw EXmlException("Invalid start character for XML-element!");
  for (size_t I = 1; I < Name.size(); ++I)
    if (!IsXmlNameChar(Name[I])) throw EXmlException("Invalid character for XML-element!");
  FOutput += Name;
}

void TXmlWriter::WriteEscaped(std::string_view Text, bool EscapeMarkup) {
  // Plain runs are copied whole; only the characters that need a reference stop the scan.
  size_t Run = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    const unsigned char C = static_cast<unsigned char>(Text[I]);
    const char* Reference = nullptr;
    char Hex[7];
    if (EscapeControlChars && C < 32) {
      static const char Digits[] = "0123456789ABCDEF";
      Hex[0] = '&', Hex[1] = '#', Hex[2] = 'x', Hex[3] = Digits[C >> 4], Hex[4] = Digits[C & 15];
      Hex[5] = ';', Hex[6] = 0;
      Reference = Hex;
    } else if (EscapeMarkup) {
      switch (C) {
        case '&': Reference = "&amp;"; break;
        case '<': Reference = "&lt;"; break;
        case '>': Reference = "&gt;"; break;
        case '"': Reference = "&quot;"; break;
        case '\'': Reference = "&apos;"; break;
        default: break;
      }
    }
    if (!Reference) continue;
    FOutput.append(Text.data() + Run, I - Run);
    FOutput += Reference;
    Run = I + 1;
  }
  FOutput.append(Text.data() + Run, Text.size() - Run);
}

void TXmlWriter::CheckAttributeAllowed() {
  if (FStack.Peek().HasContent) throw EXmlException("Attributes can only be written before content.");
}

void TXmlWriter::OpenNode(std::string_view Name) {
  BeginChild();
  Push(Name);
  FOutput += '<';
  WriteName(Name);
}

void TXmlWriter::CloseNode() {
  if (FStack.Count() <= 1) throw std::logic_error("TXmlWriter::CloseNode: no open element");
  const TXmlWriterItem Item = FStack.Pop();
  if (Item.Name == InstructionTarget)
    throw EXmlException("Invalid function call! Expected: CloseProcessingInstruction(); Called: CloseNode();");
  if (!Item.HasContent) {
    FOutput += "/>";
  } else {
    if (Indent && Item.XmlSpace != xsPreserve) WriteIndent(FStack.Count() - 1);
    FOutput += "</";
    FOutput += Item.Name;
    FOutput += '>';
  }
  EndLine();
}

void TXmlWriter::OpenProcessingInstruction(std::string_view Target) {
  BeginChild();
  Push(InstructionTarget);
  FOutput += "<?";
  WriteName(Target);
}

void TXmlWriter::CloseProcessingInstruction() {
  if (FStack.Count() <= 1) throw std::logic_error("TXmlWriter::CloseProcessingInstruction: no open instruction");
  const TXmlWriterItem Item = FStack.Pop();
  if (Item.Name != InstructionTarget)
    throw EXmlException("Invalid function call! Expected: CloseNode(); Called: CloseProcessingInstruction();");
  FOutput += "?>";
  EndLine();
}

void TXmlWriter::WriteAttribute(std::string_view Name, std::string_view Value) {
  CheckAttributeAllowed();
  FOutput += ' ';
  WriteName(Name);
  FOutput += '=';
  FOutput += QuoteChar;
  WriteEscaped(Value, true);
  FOutput += QuoteChar;
}

void TXmlWriter::WriteXmlSpace(TXmlSpace Mode) {
  if (Mode == xsNone) return;
  CheckAttributeAllowed();
  FOutput += " xml:space=";
  FOutput += QuoteChar;
  FOutput += Mode == xsPreserve ? "preserve" : "default";
  FOutput += QuoteChar;
  FStack.Peek().XmlSpace = Mode;
}

void TXmlWriter::WriteText(std::string_view Text) {
  CloseStartTag();
  WriteEscaped(Text, true);
  // Once text stands in an element, added line breaks would change its content.
  FStack.Peek().XmlSpace = xsPreserve;
}

void TXmlWriter::WriteCData(std::string_view Text) {
  CloseStartTag();
  FOutput += "<![CDATA[";
  WriteEscaped(Text, false);
  FOutput += "]]>";
  FStack.Peek().XmlSpace = xsPreserve;
}

void TXmlWriter::WriteComment(std::string_view Text) {
  BeginChild();
  FOutput += "<!--";
  WriteEscaped(Text, false);
  FOutput += "-->";
  EndLine();
}

void TXmlWriter::WriteProcessingInstruction(std::string_view Target, std::string_view Data) {
  OpenProcessingInstruction(Target);
  FOutput += ' ';
  WriteEscaped(Data, false);
  CloseProcessingInstruction();
}

// ---- WriteTo of the document model ----------------------------------------

namespace {

void WriteAttributes(TXmlWriter& Writer, const TVmHashtable& Attributes) {
  for (const THashtableItem* Item = Attributes.First(); Item; Item = Item->Next.get())
    Writer.WriteAttribute(Item->Key, Item->Value);
}

}  // namespace

void TXmlNode::WriteTo(TXmlWriter& Writer) const {
  Writer.OpenNode(Name);
  Writer.WriteXmlSpace(XmlSpace);
  if (!XmlLang.empty()) Writer.WriteAttribute("xml:lang", XmlLang);
  WriteAttributes(Writer, Attributes);
  for (const auto& Child : Elements()) Child->WriteTo(Writer);
  Writer.CloseNode();
}

void TXmlText::WriteTo(TXmlWriter& Writer) const {
  if (IsCData)
    Writer.WriteCData(Text);
  else
    Writer.WriteText(Text);
}

void TXmlComment::WriteTo(TXmlWriter& Writer) const { Writer.WriteComment(Text); }

void TXmlProcessingInstruction::WriteTo(TXmlWriter& Writer) const {
  Writer.WriteProcessingInstruction(Target, Data);
}

void TXmlAttributedInstruction::WriteTo(TXmlWriter& Writer) const {
  Writer.OpenProcessingInstruction("xml");
  WriteAttributes(Writer, Attributes);
  Writer.CloseProcessingInstruction();
}

void TXmlDeclaration::WriteTo(TXmlWriter& Writer) const {
  Writer.OpenProcessingInstruction("xml");
  Writer.WriteAttribute("version", Version);
  if (Encoding == xeWindows1252)
    Writer.WriteAttribute("encoding", "windows-1252");
  else if (Encoding == xeCustom)
    Writer.WriteAttribute("encoding", EncodingName);
  Writer.WriteAttribute("standalone", Standalone ? "yes" : "no");
  Writer.CloseProcessingInstruction();
}

void TXmlStylesheetReference::WriteTo(TXmlWriter& Writer) const {
  Writer.OpenProcessingInstruction("xml-stylesheet");
  Writer.WriteAttribute("type", StylesheetType < stCustom ? std::string_view(XmlStylesheetTypeNames[StylesheetType])
                                                         : std::string_view(CustomType));
  Writer.WriteAttribute("href", Href);
  Writer.CloseProcessingInstruction();
}

void TXmlFile::WriteTo(TXmlWriter& Writer) const {
  // The declaration must come first in the text, wherever it stands in the list.
  const TXmlElement* Declaration = Elements().FirstOf<TXmlDeclaration>();
  if (Declaration) Declaration->WriteTo(Writer);
  for (const auto& Child : Elements())
    if (Child.get() != Declaration) Child->WriteTo(Writer);
}
