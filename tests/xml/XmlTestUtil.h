// Shared by the XML tests: their includes, a one-line picture of a tree, the settings file, errors as text.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "xml/Xml.h"

namespace xmltest {

// E element, T text, C CDATA, ! comment, ?target"data", D(version,encoding,name,standalone), S(type,custom,href).
inline std::string Describe(const TXmlElement& Element) {
  auto Attributes = [](const TVmHashtable& Table) {
    std::string Result;
    for (const THashtableItem* Item = Table.First(); Item; Item = Item->Next.get())
      Result += " " + Item->Key + "=\"" + Item->Value + "\"";
    return Result;
  };
  auto Children = [](const TXmlElementList& List, char Separator) {
    std::string Result;
    for (const auto& Child : List) Result += (Result.empty() ? "" : std::string(1, Separator)) + Describe(*Child);
    return Result;
  };
  if (const auto* File = XmlAs<TXmlFile>(&Element)) return Children(File->Elements(), ' ');
  if (const auto* Node = XmlAs<TXmlNode>(&Element))
    return "E(" + Node->Name + Attributes(Node->Attributes) + ")" +
           (Node->Elements().Count() ? "[" + Children(Node->Elements(), ',') + "]" : "");
  if (const auto* Text = XmlAs<TXmlText>(&Element)) return (Text->IsCData ? "C\"" : "T\"") + Text->Text + "\"";
  if (const auto* Comment = XmlAs<TXmlComment>(&Element)) return "!\"" + Comment->Text + "\"";
  if (const auto* Pi = XmlAs<TXmlProcessingInstruction>(&Element)) return "?" + Pi->Target + "\"" + Pi->Data + "\"";
  if (const auto* D = XmlAs<TXmlDeclaration>(&Element))
    return "D(" + D->Version + "," + std::to_string(D->Encoding) + "," + D->EncodingName + "," +
           (D->Standalone ? "yes" : "no") + ")" + Attributes(D->Attributes);
  if (const auto* S = XmlAs<TXmlStylesheetReference>(&Element))
    return "S(" + std::to_string(S->StylesheetType) + "," + S->CustomType + "," + S->Href + ")" +
           Attributes(S->Attributes);
  return "?unknown";
}

// The settings file as the program writes it.
inline void BuildSettingsExample(TXmlFile& File) {
  File.Elements().AddNew<TXmlDeclaration>(xeWindows1252);
  auto& Root = File.Elements().AddNew<TXmlNode>("Quorvane");
  Root.Attributes.Add("applicationVersion", "1.9.0.0");
  Root.Attributes.Add("settingsVersion", "2.0.0.0");
  auto& Grid = Root.Elements().AddNew<TXmlNode>("FileGrid");
  Grid.Elements().AddNew<TXmlNode>("SortColumn", "0");
  Grid.Elements().AddNew<TXmlNode>("SortDirection", "Ascending");
  auto& Column = Grid.Elements().AddNew<TXmlNode>("Columns").Elements().AddNew<TXmlNode>("Column");
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

// What Action raises: "message @line:column line text", "general: message" for the base type, or "no error".
inline std::string ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const EXmlException& E) {
    return std::string(E.what()) + " @" + std::to_string(E.Line) + ":" + std::to_string(E.Column) + " " + E.LineText;
  } catch (const Exception& E) {
    return "general: " + std::string(E.what());
  }
  return "no error";
}
inline std::string Unpositioned(const std::string& Message) { return Message + " @0:0 "; }
inline const std::string kAddRefused =
    "general: The passed XmlNode has an invalid node type for this XmlNode and can not be added!";

}  // namespace xmltest
