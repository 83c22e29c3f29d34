// Helpers shared by the XML tests: a compact text picture of a tree, and the
// settings-file document that the program writes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "xml/Xml.h"

namespace xmltest {

inline const char* const kAddError =
    "The passed XmlNode has an invalid node type for this XmlNode and can not be added!";

// A tree as one line, e.g. D(1.0,1,,yes) E(root a="1")[T"x",!"c",?t"d",C"y"] S(1,,href):
// E element, T text, C CDATA, ! comment, ? instruction, D declaration
// (version, encoding, name, standalone), S stylesheet (type, custom type,
// href), A plain attributed instruction.
inline std::string Describe(const TXmlElement& Element);

inline std::string DescribeChildren(const TXmlElementList& List) {
  std::string Result;
  for (const auto& Child : List) {
    if (!Result.empty()) Result += ',';
    Result += Describe(*Child);
  }
  return Result;
}

inline std::string DescribeAttributes(const TVmHashtable& Table) {
  std::string Result;
  for (const THashtableItem* Item = Table.First(); Item; Item = Item->Next.get())
    Result += " " + Item->Key + "=\"" + Item->Value + "\"";
  return Result;
}

inline std::string Describe(const TXmlElement& Element) {
  if (const auto* File = XmlAs<TXmlFile>(&Element)) {
    std::string Result;
    for (const auto& Child : File->Elements()) {
      if (!Result.empty()) Result += ' ';
      Result += Describe(*Child);
    }
    return Result;
  }
  if (const auto* Node = XmlAs<TXmlNode>(&Element)) {
    std::string Result = "E(" + Node->Name + DescribeAttributes(Node->Attributes) + ")";
    if (Node->Elements().Count() > 0) Result += "[" + DescribeChildren(Node->Elements()) + "]";
    return Result;
  }
  if (const auto* Text = XmlAs<TXmlText>(&Element))
    return (Text->IsCData ? "C\"" : "T\"") + Text->Text + "\"";
  if (const auto* Comment = XmlAs<TXmlComment>(&Element)) return "!\"" + Comment->Text + "\"";
  if (const auto* Instruction = XmlAs<TXmlProcessingInstruction>(&Element))
    return "?" + Instruction->Target + "\"" + Instruction->Data + "\"";
  if (const auto* Declaration = XmlAs<TXmlDeclaration>(&Element))
    return "D(" + Declaration->Version + "," + std::to_string(Declaration->Encoding) + "," +
           Declaration->EncodingName + "," + (Declaration->Standalone ? "yes" : "no") + ")" +
           DescribeAttributes(Declaration->Attributes);
  if (const auto* Stylesheet = XmlAs<TXmlStylesheetReference>(&Element))
    return "S(" + std::to_string(Stylesheet->StylesheetType) + "," + Stylesheet->CustomType + "," +
           Stylesheet->Href + ")" + DescribeAttributes(Stylesheet->Attributes);
  if (const auto* Attributed = XmlAs<TXmlAttributedInstruction>(&Element))
    return "A(" + Attributed->Target + DescribeAttributes(Attributed->Attributes) + ")";
  return "?unknown";
}

// The settings file as the program writes it: a declaration and a root with
// attributes, element children, text-only children and an empty child.
inline void BuildSettingsExample(TXmlFile& File) {
  File.Elements().AddNew<TXmlDeclaration>(xeWindows1252);
  auto& Root = File.Elements().AddNew<TXmlNode>("Quorvane");
  Root.Attributes.Add("applicationVersion", "1.9.0.0");
  Root.Attributes.Add("settingsVersion", "2.0.0.0");
  auto& Grid = Root.Elements().AddNew<TXmlNode>("FileGrid");
  Grid.Elements().AddNew<TXmlNode>("SortColumn", "0");
  Grid.Elements().AddNew<TXmlNode>("SortDirection", "Ascending");
  auto& Columns = Grid.Elements().AddNew<TXmlNode>("Columns");
  auto& Column = Columns.Elements().AddNew<TXmlNode>("Column");
  Column.Attributes.Add("Index", "0");
  Column.Attributes.Add("Width", "200");
  Column.Attributes.Add("Position", "0");
  Column.Attributes.Add("Visible", "True");
}

inline const std::string kSettingsExampleXml =
    "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>\r\n"
    "<Quorvane applicationVersion=\"1.9.0.0\" settingsVersion=\"2.0.0.0\">\r\n"
    "\t<FileGrid>\r\n"
    "\t\t<SortColumn>0</SortColumn>\r\n"
    "\t\t<SortDirection>Ascending</SortDirection>\r\n"
    "\t\t<Columns>\r\n"
    "\t\t\t<Column Index=\"0\" Width=\"200\" Position=\"0\" Visible=\"True\"/>\r\n"
    "\t\t</Columns>\r\n"
    "\t</FileGrid>\r\n"
    "</Quorvane>\r\n";

inline const std::string kSettingsExampleTree =
    "D(1.0,1,,yes) E(Quorvane applicationVersion=\"1.9.0.0\" settingsVersion=\"2.0.0.0\")"
    "[E(FileGrid)[E(SortColumn)[T\"0\"],E(SortDirection)[T\"Ascending\"],"
    "E(Columns)[E(Column Index=\"0\" Width=\"200\" Position=\"0\" Visible=\"True\")]]]";

// Runs Action and checks that it raises an EXmlException with Message and no
// position.
inline void ExpectXmlError(const std::function<void()>& Action, const std::string& Message) {
  try {
    Action();
    ADD_FAILURE() << "no error, expected: " << Message;
  } catch (const EXmlException& E) {
    EXPECT_EQ(E.what(), Message);
    EXPECT_EQ(E.Line, 0);
    EXPECT_EQ(E.Column, 0);
    EXPECT_EQ(E.LineText, "");
  }
}

// Runs Action and checks that it raises the general adding error (the base
// exception type, not EXmlException).
inline void ExpectAddRefused(const std::function<void()>& Action) {
  try {
    Action();
    ADD_FAILURE() << "the element was accepted";
  } catch (const EXmlException& E) {
    ADD_FAILURE() << "EXmlException instead of the general error: " << E.what();
  } catch (const Exception& E) {
    EXPECT_EQ(E.what(), std::string(kAddError));
  }
}

}  // namespace xmltest
