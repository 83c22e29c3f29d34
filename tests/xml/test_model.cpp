#include <gtest/gtest.h>

#include <functional>
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
  if (Kind == "stylesheet") return std::make_unique<TXmlStylesheetReference>();
  return nullptr;
}

std::string Names(const TXmlElementList& List) {
  std::string Result;
  for (const auto& Child : List) Result += XmlAs<TXmlNode>(Child.get())->Name;
  return Result;
}

}  // namespace

TEST(XmlModel, ContainersAcceptOnlyTheirKindsOfChildren) {
  struct TCase {
    std::string Kind;
    bool NodeAccepts;
    bool FileAccepts;
  };
  const std::vector<TCase> Cases = {
      {"node", true, true},           {"file", false, false},        {"text", true, false},
      {"comment", true, true},        {"instruction", true, true},   {"attributed", false, true},
      {"declaration", false, true},   {"stylesheet", false, true},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Kind);
    TXmlNode Node("n");
    TXmlFile File;
    for (auto* Container : {static_cast<TXmlElementContainer*>(&Node), static_cast<TXmlElementContainer*>(&File)}) {
      const bool Accepts = Container == &Node ? Case.NodeAccepts : Case.FileAccepts;
      EXPECT_EQ(Container->CanAdd(*MakeElement(Case.Kind)), Accepts);
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
  EXPECT_EQ(File.Elements().CountOf<TXmlNode>(), 1);
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
  EXPECT_EQ(File.GetXml(), "<root>\r\n\t<a>\r\n\t\t<b>\r\n\t\t\t<c/>\r\n\t\t</b>\r\n\t</a>\r\n</root>\r\n");
}

TEST(XmlModel, AddingMovesAnElementFromItsContainer) {
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
  EXPECT_EQ(Names(Second.Elements()), "my");
}

TEST(XmlModel, ListsIndexCountAndRemove) {
  TXmlFile File;
  File.Elements().AddNew<TXmlComment>("c");
  File.Elements().AddNew<TXmlStylesheetReference>();
  auto& Declaration = File.Elements().AddNew<TXmlDeclaration>();
  File.Elements().AddNew<TXmlProcessingInstruction>();
  File.Elements().AddNew<TXmlNode>("r");
  const auto& List = File.Elements();
  EXPECT_EQ(List.Items(-1), nullptr);
  EXPECT_EQ(List.Items(List.Count()), nullptr);
  EXPECT_EQ(List.CountOf<TXmlElement>(), 5);
  EXPECT_EQ(List.CountOf<TXmlInstruction>(), 3);
  EXPECT_EQ(List.CountOf<TXmlAttributedInstruction>(), 2);
  EXPECT_EQ(List.CountOf<TXmlDeclaration>(), 1);
  EXPECT_EQ(List.CountOf<TXmlElementContainer>(), 1);
  EXPECT_EQ(List.CountOf<TXmlText>(), 0);
  EXPECT_EQ(List.FirstOf<TXmlInstruction>(), List.Items(1));
  EXPECT_EQ(List.FirstOf<TXmlDeclaration>(), &Declaration);
  EXPECT_EQ(List.FirstOf<TXmlText>(), nullptr);
  File.Elements().Remove(&Declaration);
  EXPECT_EQ(List.Count(), 4);
  EXPECT_EQ(List.CountOf<TXmlAttributedInstruction>(), 1);
  // With the declaration gone, a new one may be added.
  File.Elements().AddNew<TXmlDeclaration>();
  TXmlComment Stranger;
  File.Elements().Remove(&Stranger);
  EXPECT_EQ(List.Count(), 5);
  File.Elements().Clear();
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(File.RootNode(), nullptr);
}

TEST(XmlModel, EnumeratorFiltersByClassAndSeesElementsAddedOnTheWay) {
  TXmlNode Node("n");
  Node.Elements().AddNew<TXmlText>("t");
  Node.Elements().AddNew<TXmlNode>("a");
  Node.Elements().AddNew<TXmlComment>("c");
  Node.Elements().AddNew<TXmlProcessingInstruction>();
  Node.Elements().AddNew<TXmlNode>("b");

  auto All = Node.Elements().GetEnumerator();
  EXPECT_EQ(All->GetCurrent(), nullptr);
  int Count = 0;
  while (All->MoveNext()) ++Count;
  EXPECT_EQ(Count, 5);

  auto Nodes = Node.Elements().GetEnumerator(TXmlNode::ClassMask);
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

  auto Instructions = Node.Elements().GetEnumerator(TXmlInstruction::ClassMask);
  ASSERT_TRUE(Instructions->MoveNext());
  EXPECT_EQ(Instructions->GetCurrent(), Node.Elements().Items(3));
  EXPECT_FALSE(Instructions->MoveNext());

  EXPECT_FALSE(Node.Elements().GetEnumerator(TXmlDeclaration::ClassMask)->MoveNext());
  TXmlNode Empty;
  EXPECT_FALSE(Empty.Elements().GetEnumerator()->MoveNext());
}

TEST(XmlModel, InterpretsDeclarationAttributesAtOnce) {
  struct TCase {
    std::string Key, Value;
    std::string Described;  // the declaration afterwards, empty for an error
    std::string Message;
  };
  const std::string Standalone = "Invalid attribute for XML-Declaration attribute \"standalone\"!";
  const std::vector<TCase> Cases = {
      {"version", "1.1", "D(1.1,0,,yes)", ""},
      {"standalone", "no", "D(1.0,0,,no)", ""},
      {"standalone", "yes", "D(1.0,0,,yes)", ""},
      {"encoding", "windows-1252", "D(1.0,1,,yes)", ""},
      {"encoding", "Windows-1252", "D(1.0,2,Windows-1252,yes)", ""},
      {"encoding", "UTF-8", "D(1.0,2,UTF-8,yes)", ""},
      {"standalone", "Yes", "", Standalone},
      {"standalone", "maybe", "", Standalone},
      {"standalone", "", "", Standalone},
      {"Version", "1.0", "", "Invalid/unknown attribute (\"Version\") inside XML-Declaration!"},
      {"href", "x", "", "Invalid/unknown attribute (\"href\") inside XML-Declaration!"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Key + "=" + Case.Value);
    TXmlDeclaration Declaration;
    if (Case.Message.empty()) {
      Declaration.Attributes.Add(Case.Key, Case.Value);
      EXPECT_EQ(Describe(Declaration), Case.Described);
      EXPECT_EQ(Declaration.Attributes.Count(), 0);
    } else {
      ExpectXmlError([&] { Declaration.Attributes.Add(Case.Key, Case.Value); }, Case.Message);
      EXPECT_EQ(Declaration.Attributes.Count(), 1);
      EXPECT_TRUE(Declaration.Attributes.ContainsKey(Case.Key));
    }
  }
  TXmlDeclaration Windows(xeWindows1252);
  EXPECT_EQ(Describe(Windows), "D(1.0,1,,yes)");
}

TEST(XmlModel, InterpretsStylesheetAttributesAtOnce) {
  struct TCase {
    std::string Key, Value;
    std::string Described;
    std::string Message;
  };
  const std::vector<TCase> Cases = {
      {"type", "text/css", "S(0,,)", ""},
      {"type", "text/xsl", "S(1,,)", ""},
      {"type", "text/xml", "S(2,,)", ""},
      {"type", "TEXT/XSL", "S(3,TEXT/XSL,)", ""},
      {"type", "", "S(3,,)", ""},
      {"href", "a b.xsl", "S(3,,a b.xsl)", ""},
      {"media", "screen", "", "Invalid/unknown attribute (\"media\") inside XML-Stylesheet-Declaration!"},
      {"Href", "x", "", "Invalid/unknown attribute (\"Href\") inside XML-Stylesheet-Declaration!"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Key + "=" + Case.Value);
    TXmlStylesheetReference Stylesheet;
    if (Case.Message.empty()) {
      Stylesheet.Attributes.Add(Case.Key, Case.Value);
      EXPECT_EQ(Describe(Stylesheet), Case.Described);
      EXPECT_EQ(Stylesheet.Attributes.Count(), 0);
    } else {
      ExpectXmlError([&] { Stylesheet.Attributes.Add(Case.Key, Case.Value); }, Case.Message);
      EXPECT_EQ(Stylesheet.Attributes.Count(), 1);
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
  EXPECT_EQ(Root.FindNode(""), nullptr);
}

TEST(XmlModel, TextJoinsAllTextChildrenAndTextElementFindsTheFirst) {
  TXmlNode Empty("e", "");
  ASSERT_EQ(Empty.Elements().Count(), 1);
  ASSERT_NE(Empty.TextElement(), nullptr);
  EXPECT_EQ(Empty.Text(), "");
  Empty.TextElement()->SetAsBoolean(true);
  EXPECT_EQ(Empty.Text(), "True");

  TXmlNode Mixed("m");
  EXPECT_EQ(Mixed.TextElement(), nullptr);
  EXPECT_EQ(Mixed.Text(), "");
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

TEST(XmlModel, ConvertsTextToIntegers) {
  struct TCase {
    std::string Text;
    bool Valid;
    int32_t Value;
  };
  const std::vector<TCase> Cases = {
      {"0", true, 0},          {"42", true, 42},
      {"-7", true, -7},        {"+7", true, 7},
      {"007", true, 7},        {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0}, {"-2147483649", false, 0},
      {"", false, 0},           {"-", false, 0},
      {" 1", false, 0},         {"1 ", false, 0},
      {"1.0", false, 0},        {"0x10", false, 0},
      {"$10", false, 0},        {"1e3", false, 0},
      {"--1", false, 0},        {"abc", false, 0},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE("\"" + Case.Text + "\"");
    TXmlText Text(Case.Text);
    EXPECT_EQ(Text.IsInteger(), Case.Valid);
    if (Case.Valid)
      EXPECT_EQ(Text.AsInteger(), Case.Value);
    else
      EXPECT_THROW(Text.AsInteger(), EConvertError);
  }
  EXPECT_EQ(TXmlText(int32_t{-12}).Text, "-12");
  TXmlText Text;
  Text.SetAsInteger(INT32_MIN);
  EXPECT_EQ(Text.Text, "-2147483648");
}

TEST(XmlModel, ConvertsTextToBooleans) {
  struct TCase {
    std::string Text;
    bool Valid;
    bool Value;
  };
  const std::vector<TCase> Cases = {
      {"0", true, false},     {"1", true, true},      {"-3", true, true},
      {"True", true, true},   {"TRUE", true, true},   {"true", true, true},
      {"False", true, false}, {"fAlSe", true, false}, {"", false, false},
      {"yes", false, false},  {"T", false, false},    {" true", false, false},
      {"True ", false, false},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE("\"" + Case.Text + "\"");
    TXmlText Text(Case.Text);
    EXPECT_EQ(Text.IsBoolean(), Case.Valid);
    if (Case.Valid)
      EXPECT_EQ(Text.AsBoolean(), Case.Value);
    else
      EXPECT_THROW(Text.AsBoolean(), EConvertError);
  }
  TXmlText Text("0");
  Text.SetAsBoolean(false);
  EXPECT_EQ(Text.Text, "False");
  Text.SetAsBoolean(true);
  EXPECT_EQ(Text.Text, "True");
}
