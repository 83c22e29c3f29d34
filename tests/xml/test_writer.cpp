#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlTestUtil.h"
#include "xml/Xml.h"

using namespace xmltest;

namespace {

// Plays a script of writer calls separated by "|": "<a" opens an element,
// "/" closes it, "<?t" opens an instruction, "?" closes it, "@k=v" writes an
// attribute, "~2" xml:space with that mode, "\"x" text, "[x" CDATA,
// "!x" a comment and "%t=d" a whole instruction.
void Play(TXmlWriter& W, const std::string& Script) {
  size_t Start = 0;
  while (Start <= Script.size()) {
    size_t End = Script.find('|', Start);
    if (End == std::string::npos) End = Script.size();
    const std::string Call = Script.substr(Start, End - Start);
    const std::string Arg = Call.substr(Call.size() > 1 ? 1 : Call.size());
    const size_t Eq = Arg.find('=');
    if (Call.rfind("<?", 0) == 0) W.OpenProcessingInstruction(Call.substr(2));
    else if (Call[0] == '<') W.OpenNode(Arg);
    else if (Call == "/") W.CloseNode();
    else if (Call == "?") W.CloseProcessingInstruction();
    else if (Call[0] == '@') W.WriteAttribute(Arg.substr(0, Eq), Arg.substr(Eq + 1));
    else if (Call[0] == '~') W.WriteXmlSpace(static_cast<TXmlSpace>(Arg[0] - '0'));
    else if (Call[0] == '"') W.WriteText(Arg);
    else if (Call[0] == '[') W.WriteCData(Arg);
    else if (Call[0] == '!') W.WriteComment(Arg);
    else if (Call[0] == '%') W.WriteProcessingInstruction(Arg.substr(0, Eq), Arg.substr(Eq + 1));
    Start = End + 1;
  }
}

std::string Write(const std::string& Script) {
  TXmlWriter W;
  Play(W, Script);
  return W.GetXml();
}

}  // namespace

TEST(XmlWriter, WritesTheSettingsFileByteForByte) {
  TXmlFile File;
  BuildSettingsExample(File);
  EXPECT_EQ(File.GetXml(), kSettingsExampleXml);
}

TEST(XmlWriter, LaysOutElementsByTheirContent) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<A|/", "<A/>\r\n"},
      {"<A|@x=1|/", "<A x=\"1\"/>\r\n"},
      {"<A|\"|/", "<A></A>\r\n"},
      {"<A|@z=1|@a=2|@z=3|/", "<A z=\"1\" a=\"2\" z=\"3\"/>\r\n"},
      {"<r|!c|/", "<r>\r\n\t<!--c-->\r\n</r>\r\n"},
      {"<a|\"x|!c|/", "<a>x<!--c--></a>\r\n"},
      {"<r|<a|\"x|<b|<c|/|/|[y|/|/", "<r>\r\n\t<a>x<b><c/></b><![CDATA[y]]></a>\r\n</r>\r\n"},
      {"<a|<b|/|\"x|/", "<a>\r\n\t<b/>\r\nx</a>\r\n"},
      {"<r|<p|~2|<a|/|<b|!c|/|/|/", "<r>\r\n\t<p xml:space=\"preserve\"><a/><b><!--c--></b></p>\r\n</r>\r\n"},
      {"<a|~0|~1|<b|/|/", "<a xml:space=\"default\">\r\n\t<b/>\r\n</a>\r\n"},
      {"%t=", "<?t ?>\r\n"},
      {"<a|%t=d|/", "<a>\r\n\t<?t d?>\r\n</a>\r\n"},
      {"<?x-y|@a=1|?", "<?x-y a=\"1\"?>\r\n"},
      {"<_aZ09-.:_|@b-1.c:d_=v|/", "<_aZ09-.:_ b-1.c:d_=\"v\"/>\r\n"},
      {"<|@=v|/", "< =\"v\"/>\r\n"},  // empty names are written as nothing
      {"<a|@b=c", "<a b=\"c\""},      // open levels stay open
      {"<a|@v=&<>\"'|\"&<>\"'|[&<>\"'|!&<>\"'|%t=&<>\"'|/",
       "<a v=\"&amp;&lt;&gt;&quot;&apos;\">&amp;&lt;&gt;&quot;&apos;<![CDATA[&<>\"']]><!--&<>\"'--><?t &<>\"'?></a>\r\n"},
      {"<a|\"\xC3\xA4\xFF\x80 x\r\ny\tz\x01|/", "<a>\xC3\xA4\xFF\x80 x\r\ny\tz\x01</a>\r\n"},
  };
  for (const auto& [Script, Expected] : Cases) {
    SCOPED_TRACE(Script);
    EXPECT_EQ(Write(Script), Expected);
  }
}

TEST(XmlWriter, EscapesControlCharactersEverywhereWhenAsked) {
  TXmlWriter W;
  W.EscapeControlChars = true;
  W.OpenNode("a");
  W.WriteAttribute("v", "\t\x1F");
  W.WriteText(std::string("x\r\ny\0\xE4", 6));
  Play(W, "[\n<|!\x0B|/");
  EXPECT_EQ(W.GetXml(), "<a v=\"&#x09;&#x1F;\">x&#x0D;&#x0A;y&#x00;\xE4<![CDATA[&#x0A;<]]><!--&#x0B;--></a>\r\n");
}

TEST(XmlWriter, HonoursQuoteLineBreakAndIndentOptions) {
  TXmlWriter W;
  W.QuoteChar = '\'';
  W.LineBreak = "\n";
  W.IndentString = "  ";
  Play(W, "<r|<a|@v='\"|<b|/|/|/");
  EXPECT_EQ(W.GetXml(), "<r>\n  <a v='&apos;&quot;'>\n    <b/>\n  </a>\n</r>\n");
  TXmlWriter Flat;
  Flat.Indent = false;
  Play(Flat, "<r|<a|/|/");
  EXPECT_EQ(Flat.GetXml(), "<r>\r\n<a/>\r\n</r>\r\n");
}

TEST(XmlWriter, RefusesCallsInTheWrongOrderAndBadNames) {
  const std::string NoSubnodes = "Processing Instructions may not have subnodes!";
  const std::string AttributesFirst = "Attributes can only be written before content.";
  const std::string StartChar = "Invalid start character for XML-element!";
  const std::string Char = "Invalid character for XML-element!";
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<?t|<a", NoSubnodes},
      {"<?t|\"x", NoSubnodes},
      {"<?t|[x", NoSubnodes},
      {"<?t|!x", NoSubnodes},
      {"<?t|%u=x", NoSubnodes},
      {"<?t|/", "Invalid function call! Expected: CloseProcessingInstruction(); Called: CloseNode();"},
      {"<a|?", "Invalid function call! Expected: CloseNode(); Called: CloseProcessingInstruction();"},
      {"<a|\"x|@b=1", AttributesFirst},
      {"<a|<b|/|@c=1", AttributesFirst},
      {"<a|!x|@b=1", AttributesFirst},
      {"<a|\"|~2", AttributesFirst},
      {"@b=1", AttributesFirst},
      {"<1a", StartChar},
      {"<-a", StartChar},
      {"<?:t", StartChar},
      {"<a b", Char},
      {"<a\xE4", Char},
      {"<a|@b\"=1", Char},
  };
  for (const auto& [Script, Message] : Cases) {
    SCOPED_TRACE(Script);
    ExpectXmlError([&] { Write(Script); }, Message);
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
  File.Elements().AddNew<TXmlProcessingInstruction>().Target = "t";
  ASSERT_EQ(File.Elements().Items(2), &Declaration);
  EXPECT_EQ(File.GetXml(), "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<!--c-->\r\n<r/>\r\n<?t ?>\r\n");
}

TEST(XmlWriter, WritesDeclarationsAndStylesheetReferences) {
  struct TCase {
    TXmlEncoding Encoding;
    bool Standalone;
    std::string Expected;
  };
  for (const auto& Case : std::vector<TCase>{
           {xeNone, true, "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"},
           {xeWindows1252, false, "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"no\"?>\r\n"},
           {xeCustom, true, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"}}) {
    SCOPED_TRACE(Case.Expected);
    TXmlFile File;
    auto& Declaration = File.Elements().AddNew<TXmlDeclaration>(Case.Encoding);
    Declaration.EncodingName = "UTF-8";
    Declaration.Standalone = Case.Standalone;
    EXPECT_EQ(File.GetXml(), Case.Expected);
  }
  const char* Types[] = {"text/css", "text/xsl", "text/xml", "my/type"};
  for (auto Type : {stCss, stXsl, stXml, stCustom}) {
    SCOPED_TRACE(Types[Type]);
    TXmlFile File;
    auto& Stylesheet = File.Elements().AddNew<TXmlStylesheetReference>();
    Stylesheet.StylesheetType = Type;
    Stylesheet.CustomType = "my/type";
    Stylesheet.Href = "s&t";
    EXPECT_EQ(File.GetXml(), "<?xml-stylesheet type=\"" + std::string(Types[Type]) + "\" href=\"s&amp;t\"?>\r\n");
  }
}
