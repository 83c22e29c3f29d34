// Shared by the XML tests: their includes, a one-line picture of a tree, errors as text.
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
