#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "XmlTestUtil.h"
#include "xml/Xml.h"

using namespace xmltest;

namespace {

// One fresh element of each class, by a short name.
std::unique_ptr<TXmlElement> MakeElement(const std::string& Kind) {
  if (Kind == "node") return std::make_unique<TXmlNode>("n");
  if (Kind == "file") return std::make_unique<TXmlFile>();
  if (Kind == "text") return std::make_unique<TXmlText>("t");
  if (Kind == "comment") return std::make_unique<TXmlComment>("c");
  if (Kind == "instruction") return std::make_unique<TXmlProcessingInstruction>();
  if (Kind == "attributed") return std::make_unique<TXmlAttributedInstruction>();
  if (Kind == "declaration") return std::make_unique<TXmlDeclaration>();
  return std::make_unique<TXmlStylesheetReference>();
}

}  // namespace

TEST(XmlModel, ContainersAcceptOnlyTheirKindsOfChildren) {
  struct TCase {
    std::string Kind;
    bool NodeAccepts, FileAccepts;
  };
  for (const auto& Case : std::vector<TCase>{{"node", true, true},         {"file", false, false},
                                             {"text", true, false},        {"comment", true, true},
                                             {"instruction", true, true},  {"attributed", false, true},
                                             {"declaration", false, true}, {"stylesheet", false, true}}) {
    SCOPED_TRACE(Case.Kind);
    TXmlNode Node("n");
    TXmlFile File;
    for (TXmlElementContainer* Container : {static_cast<TXmlElementContainer*>(&Node),
                                            static_cast<TXmlElementContainer*>(&File)}) {
      const bool Accepts = Container == &Node ? Case.NodeAccepts : Case.FileAccepts;
      if (Accepts) {
        EXPECT_EQ(Container->Elements().Add(MakeElement(Case.Kind)), 0);
        EXPECT_EQ(Container->Elements().Items(0)->Parent(), Container);
      } else {
        ExpectAddRefused([&] { Container->Elements().Add(MakeElement(Case.Kind)); });
        EXPECT_EQ(Container->Elements().Count(), 0);
      }
    }
  }
}

TEST(XmlModel, FileTakesOneRootAndOneDeclarationButAnyCommentsAndInstructions) {
  TXmlFile File;
  auto& Root = File.Elements().AddNew<TXmlNode>("a");
  File.Elements().AddNew<TXmlDeclaration>();
  for (int I = 0; I < 3; ++I) {
    File.Elements().AddNew<TXmlComment>();
    File.Elements().AddNew<TXmlStylesheetReference>();
    File.Elements().AddNew<TXmlProcessingInstruction>();
  }
  ExpectAddRefused([&] { File.Elements().AddNew<TXmlNode>("b"); });
  ExpectAddRefused([&] { File.Elements().AddNew<TXmlDeclaration>(xeWindows1252); });
  EXPECT_EQ(File.Elements().Count(), 11);
  EXPECT_EQ(File.RootNode(), &Root);
  // Once the root is gone, another one is welcome.
  File.Elements().Remove(&Root);
  EXPECT_EQ(File.RootNode(), nullptr);
  auto& Second = File.Elements().AddNew<TXmlNode>("b");
  EXPECT_EQ(File.RootNode(), &Second);
}

TEST(XmlModel, RefusesAddingAnElementUnderItselfOrItsDescendants) {
  TXmlFile File;
  auto& Root = File.Elements().AddNew<TXmlNode>("root");
  auto& A = Root.Elements().AddNew<TXmlNode>("a");
  auto& B = A.Elements().AddNew<TXmlNode>("b");
  auto& C = B.Elements().AddNew<TXmlNode>("c");
  for (TXmlNode* Target : {&A, &B, &C}) {
    SCOPED_TRACE(Target->Name);
    ExpectAddRefused([&] { Target->Elements().Add(A); });
  }
  ExpectAddRefused([&] { C.Elements().Add(Root); });
  EXPECT_EQ(A.Parent(), &Root);
  EXPECT_EQ(Describe(File), "E(root)[E(a)[E(b)[E(c)]]]");
}

TEST(XmlModel, AddingMovesAnElementOutOfItsContainer) {
  TXmlNode First("first");
  auto& Moved = First.Elements().AddNew<TXmlNode>("m", "text");
  Moved.Attributes.Add("k", "v");
  First.Elements().AddNew<TXmlNode>("x");
  TXmlNode Second("second");
  Second.Elements().AddNew<TXmlNode>("y");
  EXPECT_EQ(Second.Elements().Add(Moved), 1);
  EXPECT_EQ(Moved.Parent(), &Second);
  EXPECT_EQ(Describe(First), "E(first)[E(x)]");
  EXPECT_EQ(Describe(Second), "E(second)[E(y),E(m k=\"v\")[T\"text\"]]");
  // Added to its own container, an element moves to the end.
  EXPECT_EQ(Second.Elements().Add(*Second.Elements().Items(0)), 1);
  EXPECT_EQ(Describe(Second), "E(second)[E(m k=\"v\")[T\"text\"],E(y)]");
}

TEST(XmlModel, ListsCountAndFindByClassIncludingDerivedClasses) {
  TXmlFile File;
  File.Elements().AddNew<TXmlComment>("c");
  auto& Stylesheet = File.Elements().AddNew<TXmlStylesheetReference>();
  auto& Declaration = File.Elements().AddNew<TXmlDeclaration>();
  File.Elements().AddNew<TXmlProcessingInstruction>();
  File.Elements().AddNew<TXmlNode>("r");
  const auto& List = File.Elements();
  EXPECT_EQ(List.Items(-1), nullptr);
  EXPECT_EQ(List.Items(List.Count()), nullptr);
  EXPECT_EQ(List.CountOf<TXmlElement>(), 5);
  EXPECT_EQ(List.CountOf<TXmlInstruction>(), 3);
  EXPECT_EQ(List.CountOf<TXmlAttributedInstruction>(), 2);
  EXPECT_EQ(List.CountOf<TXmlElementContainer>(), 1);
  EXPECT_EQ(List.FirstOf<TXmlInstruction>(), &Stylesheet);
  EXPECT_EQ(List.FirstOf<TXmlText>(), nullptr);
  File.Elements().Remove(&Declaration);
  EXPECT_EQ(List.CountOf<TXmlAttributedInstruction>(), 1);
  File.Elements().AddNew<TXmlDeclaration>();  // the place is free again
  File.Elements().Clear();
  EXPECT_EQ(List.Count(), 0);
}

TEST(XmlModel, EnumeratorFiltersByClassAndSeesElementsAddedOnTheWay) {
  TXmlNode Node("n");
  Node.Elements().AddNew<TXmlText>("t");
  Node.Elements().AddNew<TXmlNode>("a");
  Node.Elements().AddNew<TXmlComment>("c");
  Node.Elements().AddNew<TXmlProcessingInstruction>();
  Node.Elements().AddNew<TXmlNode>("b");

  auto Nodes = Node.Elements().GetEnumerator(TXmlNode::ClassMask);
  EXPECT_EQ(Nodes->GetCurrent(), nullptr);
  std::string Seen;
  while (Nodes->MoveNext()) {
    Seen += XmlAs<TXmlNode>(Nodes->GetCurrent())->Name;
    if (Seen == "a") Node.Elements().AddNew<TXmlNode>("z");
  }
  EXPECT_EQ(Seen, "abz");
  Nodes->Reset();
  EXPECT_EQ(Nodes->GetCurrent(), nullptr);
  ASSERT_TRUE(Nodes->MoveNext());
  EXPECT_EQ(Nodes->GetCurrent(), Node.Elements().Items(1));

  int All = 0;
  for (auto Enumerator = Node.Elements().GetEnumerator(); Enumerator->MoveNext();) ++All;
  EXPECT_EQ(All, 6);
  auto Instructions = Node.Elements().GetEnumerator(TXmlInstruction::ClassMask);
  ASSERT_TRUE(Instructions->MoveNext());
  EXPECT_EQ(Instructions->GetCurrent(), Node.Elements().Items(3));
  EXPECT_FALSE(Instructions->MoveNext());
  EXPECT_FALSE(Node.Elements().GetEnumerator(TXmlDeclaration::ClassMask)->MoveNext());
}

TEST(XmlModel, InterpretsDeclarationAndStylesheetAttributesAtOnce) {
  struct TCase {
    bool Stylesheet;
    std::string Key, Value;
    std::string Result;  // the element afterwards, or the error message
  };
  const std::string Standalone = "Invalid attribute for XML-Declaration attribute \"standalone\"!";
  const std::vector<TCase> Cases = {
      {false, "version", "1.1", "D(1.1,0,,yes)"},
      {false, "standalone", "no", "D(1.0,0,,no)"},
      {false, "encoding", "windows-1252", "D(1.0,1,,yes)"},
      {false, "encoding", "Windows-1252", "D(1.0,2,Windows-1252,yes)"},
      {false, "standalone", "Yes", Standalone},
      {false, "standalone", "maybe", Standalone},
      {false, "Version", "1.0", "Invalid/unknown attribute (\"Version\") inside XML-Declaration!"},
      {false, "href", "x", "Invalid/unknown attribute (\"href\") inside XML-Declaration!"},
      {true, "type", "text/css", "S(0,,)"},
      {true, "type", "text/xsl", "S(1,,)"},
      {true, "type", "text/xml", "S(2,,)"},
      {true, "type", "TEXT/XSL", "S(3,TEXT/XSL,)"},
      {true, "href", "a b.xsl", "S(3,,a b.xsl)"},
      {true, "media", "screen", "Invalid/unknown attribute (\"media\") inside XML-Stylesheet-Declaration!"},
      {true, "encoding", "x", "Invalid/unknown attribute (\"encoding\") inside XML-Stylesheet-Declaration!"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Key + "=" + Case.Value);
    std::unique_ptr<TXmlAttributedInstruction> Element;
    if (Case.Stylesheet) Element = std::make_unique<TXmlStylesheetReference>();
    else Element = std::make_unique<TXmlDeclaration>();
    if (Case.Result.find("Invalid") == 0) {
      ExpectXmlError([&] { Element->Attributes.Add(Case.Key, Case.Value); }, Case.Result);
      EXPECT_TRUE(Element->Attributes.ContainsKey(Case.Key));  // the offending key stays
    } else {
      Element->Attributes.Add(Case.Key, Case.Value);
      EXPECT_EQ(Describe(*Element), Case.Result);  // shows leftover attributes, too
    }
  }
}

TEST(XmlModel, FindNodeLooksAtDirectChildElementsOnlyAndExactly) {
  TXmlNode Root("root");
  Root.Elements().AddNew<TXmlComment>("Window");
  Root.Elements().AddNew<TXmlText>("Window");
  auto& Lower = Root.Elements().AddNew<TXmlNode>("window");
  Lower.Elements().AddNew<TXmlNode>("Deep");
  auto& Upper = Root.Elements().AddNew<TXmlNode>("Window");
  Root.Elements().AddNew<TXmlNode>("Window");
  EXPECT_EQ(Root.FindNode("window"), &Lower);
  EXPECT_EQ(Root.FindNode("Window"), &Upper);
  EXPECT_EQ(Root.FindNode("WINDOW"), nullptr);
  EXPECT_EQ(Root.FindNode("Deep"), nullptr);
}

TEST(XmlModel, TextJoinsTheTextChildrenAndTextElementFindsTheFirst) {
  TXmlNode Empty("e", "");
  ASSERT_NE(Empty.TextElement(), nullptr);
  EXPECT_EQ(Empty.Text(), "");
  Empty.TextElement()->SetAsBoolean(true);
  EXPECT_EQ(Empty.Text(), "True");

  TXmlNode Mixed("m");
  Mixed.Elements().AddNew<TXmlNode>("child", "inner");
  EXPECT_EQ(Mixed.TextElement(), nullptr);
  EXPECT_EQ(Mixed.Text(), "");
  auto& A = Mixed.Elements().AddNew<TXmlText>("a");
  A.IsCData = true;
  Mixed.Elements().AddNew<TXmlComment>("no");
  Mixed.Elements().AddNew<TXmlText>("b");
  EXPECT_EQ(Mixed.TextElement(), &A);
  EXPECT_EQ(Mixed.Text(), "ab");
}

TEST(XmlModel, ConvertsTextToIntegersAndBooleans) {
  struct TCase {
    std::string Text;
    const char* Integer;  // the value, or nullptr when the text is no integer
    const char* Boolean;  // "1", "0", nullptr when it is no Boolean, "?" not checked
  };
  const std::vector<TCase> Cases = {
      {"0", "0", "0"},         {"42", "42", "1"},         {"-7", "-7", "1"},
      {"+7", "7", "1"},        {"007", "7", "1"},         {"2147483647", "2147483647", "1"},
      {"-2147483648", "-2147483648", "1"},                {"2147483648", nullptr, "?"},
      {"", nullptr, nullptr},  {"-", nullptr, nullptr},   {" 1", nullptr, "?"},
      {"0x10", nullptr, "?"},  {"1.0", nullptr, "?"},     {"True", nullptr, "1"},
      {"tRUE", nullptr, "1"},  {"FALSE", nullptr, "0"},   {"yes", nullptr, nullptr},
      {"T", nullptr, nullptr}, {" true", nullptr, nullptr},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE("\"" + Case.Text + "\"");
    TXmlText Text(Case.Text);
    EXPECT_EQ(Text.IsInteger(), Case.Integer != nullptr);
    if (Case.Integer) EXPECT_EQ(std::to_string(Text.AsInteger()), Case.Integer);
    else EXPECT_THROW(Text.AsInteger(), EConvertError);
    if (Case.Boolean && std::string(Case.Boolean) == "?") continue;
    EXPECT_EQ(Text.IsBoolean(), Case.Boolean != nullptr);
    if (Case.Boolean) EXPECT_EQ(Text.AsBoolean(), std::string(Case.Boolean) == "1");
    else EXPECT_THROW(Text.AsBoolean(), EConvertError);
  }
  TXmlText Text(int32_t{-12});
  EXPECT_EQ(Text.Text, "-12");
  Text.SetAsBoolean(false);
  EXPECT_EQ(Text.Text, "False");
}
