#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "XmlTestUtil.h"
#include "xml/Xml.h"

using namespace xmltest;

namespace {

// Runs Calls on a fresh writer with default options and returns its text.
std::string Write(const std::function<void(TXmlWriter&)>& Calls) {
  TXmlWriter Writer;
  Calls(Writer);
  return Writer.GetXml();
}

}  // namespace

TEST(XmlWriter, WritesTheSettingsFileByteForByte) {
  TXmlFile File;
  BuildSettingsExample(File);
  EXPECT_EQ(File.GetXml(), kSettingsExampleXml);
}

TEST(XmlWriter, LaysOutElementsByContent) {
  struct TCase {
    const char* Name;
    std::function<void(TXmlWriter&)> Calls;
    std::string Expected;
  };
  const std::vector<TCase> Cases = {
      {"empty element", [](TXmlWriter& W) { W.OpenNode("A"); W.CloseNode(); }, "<A/>\r\n"},
      {"empty element with an attribute",
       [](TXmlWriter& W) { W.OpenNode("A"); W.WriteAttribute("x", "1"); W.CloseNode(); },
       "<A x=\"1\"/>\r\n"},
      {"empty text gives a start and an end tag",
       [](TXmlWriter& W) { W.OpenNode("A"); W.WriteText(""); W.CloseNode(); }, "<A></A>\r\n"},
      {"attributes in call order, duplicates kept",
       [](TXmlWriter& W) {
         W.OpenNode("A");
         W.WriteAttribute("z", "1");
         W.WriteAttribute("a", "2");
         W.WriteAttribute("z", "3");
         W.CloseNode();
       },
       "<A z=\"1\" a=\"2\" z=\"3\"/>\r\n"},
      {"comment inside the root has its own indented line",
       [](TXmlWriter& W) { W.OpenNode("r"); W.WriteComment("c"); W.CloseNode(); },
       "<r>\r\n\t<!--c-->\r\n</r>\r\n"},
      {"comment after text stays on the text's line",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteText("x"); W.WriteComment("c"); W.CloseNode(); },
       "<a>x<!--c--></a>\r\n"},
      {"text first: everything inside goes on one line",
       [](TXmlWriter& W) {
         W.OpenNode("r");
         W.OpenNode("a");
         W.WriteText("x");
         W.OpenNode("b");
         W.OpenNode("c");
         W.CloseNode();
         W.CloseNode();
         W.WriteCData("y");
         W.CloseNode();
         W.CloseNode();
       },
       "<r>\r\n\t<a>x<b><c/></b><![CDATA[y]]></a>\r\n</r>\r\n"},
      {"text after an element child follows the child's line",
       [](TXmlWriter& W) { W.OpenNode("a"); W.OpenNode("b"); W.CloseNode(); W.WriteText("x"); W.CloseNode(); },
       "<a>\r\n\t<b/>\r\nx</a>\r\n"},
      {"xml:space preserve switches off breaks and indentation inside",
       [](TXmlWriter& W) {
         W.OpenNode("r");
         W.OpenNode("p");
         W.WriteXmlSpace(xsPreserve);
         W.OpenNode("a");
         W.CloseNode();
         W.OpenNode("b");
         W.WriteComment("c");
         W.CloseNode();
         W.CloseNode();
         W.CloseNode();
       },
       "<r>\r\n\t<p xml:space=\"preserve\"><a/><b><!--c--></b></p>\r\n</r>\r\n"},
      {"xml:space default and none",
       [](TXmlWriter& W) {
         W.OpenNode("a");
         W.WriteXmlSpace(xsNone);
         W.WriteXmlSpace(xsDefault);
         W.OpenNode("b");
         W.CloseNode();
         W.CloseNode();
       },
       "<a xml:space=\"default\">\r\n\t<b/>\r\n</a>\r\n"},
      {"instruction with empty data keeps its blank",
       [](TXmlWriter& W) { W.WriteProcessingInstruction("t", ""); }, "<?t ?>\r\n"},
      {"instruction inside an element",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteProcessingInstruction("t", "d <&>"); W.CloseNode(); },
       "<a>\r\n\t<?t d <&>?>\r\n</a>\r\n"},
      {"attributed instruction",
       [](TXmlWriter& W) {
         W.OpenProcessingInstruction("x-y");
         W.WriteAttribute("a", "1");
         W.CloseProcessingInstruction();
       },
       "<?x-y a=\"1\"?>\r\n"},
      {"a name made of every name character",
       [](TXmlWriter& W) { W.OpenNode("_aZ09-.:_"); W.WriteAttribute("b-1.c:d_", "v"); W.CloseNode(); },
       "<_aZ09-.:_ b-1.c:d_=\"v\"/>\r\n"},
      {"an empty name is written as nothing",
       [](TXmlWriter& W) { W.OpenNode(""); W.WriteAttribute("", "v"); W.CloseNode(); }, "< =\"v\"/>\r\n"},
      {"open levels stay open", [](TXmlWriter& W) { W.OpenNode("a"); W.WriteAttribute("b", "c"); },
       "<a b=\"c\""},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(Write(Case.Calls), Case.Expected);
  }
}

TEST(XmlWriter, EscapesMarkupInValuesAndTextButNotInCDataCommentsOrData) {
  const std::string Special = "a&b<c>d\"e'f";
  const std::string Escaped = "a&amp;b&lt;c&gt;d&quot;e&apos;f";
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.OpenNode("a"); W.WriteAttribute("v", Special); W.CloseNode(); }),
            "<a v=\"" + Escaped + "\"/>\r\n");
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.OpenNode("a"); W.WriteText(Special); W.CloseNode(); }),
            "<a>" + Escaped + "</a>\r\n");
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.OpenNode("a"); W.WriteCData(Special); W.CloseNode(); }),
            "<a><![CDATA[" + Special + "]]></a>\r\n");
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.WriteComment(Special); }), "<!--" + Special + "-->\r\n");
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.WriteProcessingInstruction("t", Special); }),
            "<?t " + Special + "?>\r\n");
}

TEST(XmlWriter, WritesHighBytesAndLineBreaksUnchangedByDefault) {
  const std::string Text = "\xC3\xA4\xFF\x80 x\r\ny\tz\x01";
  EXPECT_EQ(Write([&](TXmlWriter& W) { W.OpenNode("a"); W.WriteText(Text); W.CloseNode(); }),
            "<a>" + Text + "</a>\r\n");
}

TEST(XmlWriter, EscapesControlCharactersEverywhereWhenAsked) {
  TXmlWriter W;
  W.EscapeControlChars = true;
  W.OpenNode("a");
  W.WriteAttribute("v", std::string("\t\x1F", 2));
  W.WriteText(std::string("x\r\ny\0\xE4", 6));
  W.WriteCData("\n<");
  W.WriteComment("\x0B");
  W.CloseNode();
  EXPECT_EQ(W.GetXml(),
            "<a v=\"&#x09;&#x1F;\">x&#x0D;&#x0A;y&#x00;\xE4<![CDATA[&#x0A;<]]><!--&#x0B;--></a>\r\n");
}

TEST(XmlWriter, HonoursQuoteLineBreakAndIndentOptions) {
  TXmlWriter W;
  W.QuoteChar = '\'';
  W.LineBreak = "\n";
  W.IndentString = "  ";
  W.OpenNode("r");
  W.OpenNode("a");
  W.WriteAttribute("v", "'\"");
  W.OpenNode("b");
  W.CloseNode();
  W.CloseNode();
  W.CloseNode();
  EXPECT_EQ(W.GetXml(), "<r>\n  <a v='&apos;&quot;'>\n    <b/>\n  </a>\n</r>\n");

  TXmlWriter Flat;
  Flat.Indent = false;
  Flat.OpenNode("r");
  Flat.OpenNode("a");
  Flat.CloseNode();
  Flat.CloseNode();
  EXPECT_EQ(Flat.GetXml(), "<r>\r\n<a/>\r\n</r>\r\n");
}

TEST(XmlWriter, RefusesCallsInTheWrongOrder) {
  struct TCase {
    const char* Name;
    std::function<void(TXmlWriter&)> Calls;
    std::string Message;
  };
  const std::string NoSubnodes = "Processing Instructions may not have subnodes!";
  const std::string AttributesFirst = "Attributes can only be written before content.";
  const std::vector<TCase> Cases = {
      {"element in an instruction", [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.OpenNode("a"); },
       NoSubnodes},
      {"text in an instruction", [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.WriteText("x"); },
       NoSubnodes},
      {"CDATA in an instruction", [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.WriteCData("x"); },
       NoSubnodes},
      {"comment in an instruction",
       [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.WriteComment("x"); }, NoSubnodes},
      {"instruction in an instruction",
       [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.WriteProcessingInstruction("u", "x"); },
       NoSubnodes},
      {"CloseNode on an instruction", [](TXmlWriter& W) { W.OpenProcessingInstruction("t"); W.CloseNode(); },
       "Invalid function call! Expected: CloseProcessingInstruction(); Called: CloseNode();"},
      {"CloseProcessingInstruction on an element",
       [](TXmlWriter& W) { W.OpenNode("a"); W.CloseProcessingInstruction(); },
       "Invalid function call! Expected: CloseNode(); Called: CloseProcessingInstruction();"},
      {"attribute after text",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteText("x"); W.WriteAttribute("b", "1"); }, AttributesFirst},
      {"attribute after a closed child",
       [](TXmlWriter& W) {
         W.OpenNode("a");
         W.OpenNode("b");
         W.CloseNode();
         W.WriteAttribute("c", "1");
       },
       AttributesFirst},
      {"attribute after a comment",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteComment("x"); W.WriteAttribute("b", "1"); }, AttributesFirst},
      {"xml:space after empty text",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteText(""); W.WriteXmlSpace(xsPreserve); }, AttributesFirst},
      {"attribute at document level", [](TXmlWriter& W) { W.WriteAttribute("b", "1"); }, AttributesFirst},
      {"element name starting with a digit", [](TXmlWriter& W) { W.OpenNode("1a"); },
       "Invalid start character for XML-element!"},
      {"element name starting with a hyphen", [](TXmlWriter& W) { W.OpenNode("-a"); },
       "Invalid start character for XML-element!"},
      {"element name with a blank", [](TXmlWriter& W) { W.OpenNode("a b"); },
       "Invalid character for XML-element!"},
      {"element name with a high byte", [](TXmlWriter& W) { W.OpenNode("a\xE4"); },
       "Invalid character for XML-element!"},
      {"target starting with a colon", [](TXmlWriter& W) { W.OpenProcessingInstruction(":t"); },
       "Invalid start character for XML-element!"},
      {"attribute name with a quote",
       [](TXmlWriter& W) { W.OpenNode("a"); W.WriteAttribute("b\"", "1"); },
       "Invalid character for XML-element!"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ExpectXmlError([&] { Write(Case.Calls); }, Case.Message);
  }
}

TEST(XmlWriter, WritesNodeSettingsBeforeAttributes) {
  TXmlNode Node("a");
  Node.Attributes.Add("x", "1");
  Node.XmlLang = "de";
  Node.XmlSpace = xsPreserve;
  Node.Elements().AddNew<TXmlNode>("b");
  Node.Elements().AddNew<TXmlText>("t").IsCData = true;
  TXmlWriter W;
  Node.WriteTo(W);
  EXPECT_EQ(W.GetXml(), "<a xml:space=\"preserve\" xml:lang=\"de\" x=\"1\"><b/><![CDATA[t]]></a>\r\n");
}

TEST(XmlWriter, WritesTheDeclarationFirstWhereverItStands) {
  TXmlFile File;
  File.Elements().AddNew<TXmlComment>("c");
  File.Elements().AddNew<TXmlNode>("r");
  auto& Declaration = File.Elements().AddNew<TXmlDeclaration>();
  auto& Instruction = File.Elements().AddNew<TXmlProcessingInstruction>();
  Instruction.Target = "t";
  Instruction.Data = "d";
  ASSERT_EQ(File.Elements().Items(2), &Declaration);
  EXPECT_EQ(File.GetXml(), "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<!--c-->\r\n<r/>\r\n<?t d?>\r\n");
}

TEST(XmlWriter, WritesDeclarationsByEncoding) {
  struct TCase {
    TXmlEncoding Encoding;
    std::string Name;
    bool Standalone;
    std::string Expected;
  };
  const std::vector<TCase> Cases = {
      {xeNone, "ignored", true, "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"},
      {xeWindows1252, "ignored", false,
       "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"no\"?>\r\n"},
      {xeCustom, "UTF-8", true, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"},
      {xeCustom, "", true, "<?xml version=\"1.0\" encoding=\"\" standalone=\"yes\"?>\r\n"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Expected);
    TXmlFile File;
    auto& Declaration = File.Elements().AddNew<TXmlDeclaration>(Case.Encoding);
    Declaration.EncodingName = Case.Name;
    Declaration.Standalone = Case.Standalone;
    EXPECT_EQ(File.GetXml(), Case.Expected);
  }
}

TEST(XmlWriter, WritesStylesheetReferencesByType) {
  struct TCase {
    TXmlStylesheetType Type;
    std::string Expected;
  };
  const std::vector<TCase> Cases = {
      {stCss, "<?xml-stylesheet type=\"text/css\" href=\"s&amp;t\"?>\r\n"},
      {stXsl, "<?xml-stylesheet type=\"text/xsl\" href=\"s&amp;t\"?>\r\n"},
      {stXml, "<?xml-stylesheet type=\"text/xml\" href=\"s&amp;t\"?>\r\n"},
      {stCustom, "<?xml-stylesheet type=\"my/type\" href=\"s&amp;t\"?>\r\n"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Expected);
    TXmlFile File;
    auto& Stylesheet = File.Elements().AddNew<TXmlStylesheetReference>();
    Stylesheet.StylesheetType = Case.Type;
    Stylesheet.CustomType = "my/type";
    Stylesheet.Href = "s&t";
    EXPECT_EQ(File.GetXml(), Case.Expected);
  }
  TXmlFile Plain;
  Plain.Elements().AddNew<TXmlStylesheetReference>();
  EXPECT_EQ(Plain.GetXml(), "<?xml-stylesheet type=\"\" href=\"\"?>\r\n");
}
