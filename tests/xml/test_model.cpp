#include "XmlTestUtil.h"

using namespace xmltest;

template <class T>
std::unique_ptr<TXmlElement> Make() { return std::make_unique<T>(); }

TEST(XmlModel, ContainersAcceptOnlyTheirKindsOfChildren) {
  // A fresh element, whether an element accepts it, whether a document does.
  const std::vector<std::tuple<std::unique_ptr<TXmlElement> (*)(), bool, bool>> Cases = {
      {Make<TXmlNode>, true, true}, {Make<TXmlFile>, false, false}, {Make<TXmlText>, true, false},
      {Make<TXmlComment>, true, true}, {Make<TXmlProcessingInstruction>, true, true},
      {Make<TXmlAttributedInstruction>, false, true}, {Make<TXmlDeclaration>, false, true},
      {Make<TXmlStylesheetReference>, false, true}};
  for (size_t I = 0; I < Cases.size(); ++I) {
    SCOPED_TRACE(I);
    TXmlNode Node("n");
    TXmlFile File;
    for (auto [Container, Accepts] : {std::pair<TXmlElementContainer*, bool>{&Node, std::get<1>(Cases[I])},
                                      std::pair<TXmlElementContainer*, bool>{&File, std::get<2>(Cases[I])}}) {
      const std::string Error = ErrorOf([&] { Container->Elements().Add(std::get<0>(Cases[I])()); });
      EXPECT_EQ(Error, Accepts ? "no error" : kAddRefused);
      EXPECT_EQ(Container->Elements().Count(), Accepts ? 1 : 0);
    }
  }
}

TEST(XmlModel, RefusesASecondRootOrDeclarationAndAddingUnderItselfOrADescendant) {
  TXmlFile File;
  auto& Root = File.Elements().AddNew<TXmlNode>("root");
  File.Elements().AddNew<TXmlDeclaration>();
  EXPECT_EQ(ErrorOf([&] { File.Elements().AddNew<TXmlNode>("b"); }), kAddRefused);
  EXPECT_EQ(ErrorOf([&] { File.Elements().AddNew<TXmlDeclaration>(xeWindows1252); }), kAddRefused);
  auto& A = Root.Elements().AddNew<TXmlNode>("a");
  auto& B = A.Elements().AddNew<TXmlNode>("b");
  for (auto [Moved, Target] : {std::pair{&A, &A}, {&A, &B}, {&Root, &B}, {&B, &B}}) {
    SCOPED_TRACE(Moved->Name + " under " + Target->Name);
    EXPECT_EQ(ErrorOf([&] { Target->Elements().Add(*Moved); }), kAddRefused);
  }
  EXPECT_EQ(Describe(File), "E(root)[E(a)[E(b)]] D(1.0,0,,yes)");
  File.Elements().Remove(&Root);  // the root's place is free again
  EXPECT_EQ(File.RootNode(), nullptr);
  EXPECT_EQ(File.RootNode(), &File.Elements().AddNew<TXmlNode>("b"));
}

TEST(XmlModel, FindsChildElementsExactly) {
  TXmlNode Root("root");
  auto& Cdata = Root.Elements().AddNew<TXmlText>("Window");
  Cdata.IsCData = true;
  auto& Lower = Root.Elements().AddNew<TXmlNode>("window");
  Lower.Elements().AddNew<TXmlNode>("Deep", "text");
  auto& Upper = Root.Elements().AddNew<TXmlNode>("Window");
  Root.Elements().AddNew<TXmlNode>("Window");
  EXPECT_EQ(Root.FindNode("window"), &Lower);
  EXPECT_EQ(Root.FindNode("Window"), &Upper);  // the first of two
  EXPECT_EQ(Root.FindNode("Deep"), nullptr);   // children only
  EXPECT_EQ(Root.TextElement(), &Cdata);
}

TEST(XmlModel, ConvertsTextToIntegersAndBooleans) {
  // The text, its integer or nullptr, and its Boolean: "1", "0", nullptr for none, "?" not checked.
  // Integers are TryStrToInt's, tested with it.
  const std::vector<std::tuple<std::string, const char*, const char*>> Cases = {
      {"0", "0", "0"}, {"+7", "7", "1"}, {"", nullptr, nullptr}, {"yes", nullptr, nullptr}, {"2147483648", nullptr, "?"},
      {"tRUE", nullptr, "1"}, {"FALSE", nullptr, "0"}, {" true", nullptr, nullptr}};
  for (const auto& [Value, Integer, Boolean] : Cases) {
    SCOPED_TRACE("\"" + Value + "\"");
    TXmlText Text(Value);
    EXPECT_EQ(Text.IsInteger(), Integer != nullptr);
    if (Integer) EXPECT_EQ(std::to_string(Text.AsInteger()), Integer);
    else EXPECT_THROW(Text.AsInteger(), EConvertError);
    if (Boolean && *Boolean == '?') continue;
    EXPECT_EQ(Text.IsBoolean(), Boolean != nullptr);
    if (Boolean) EXPECT_EQ(Text.AsBoolean(), *Boolean == '1');
    else EXPECT_THROW(Text.AsBoolean(), EConvertError);
  }
}
