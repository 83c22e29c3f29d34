#include "XmlTestUtil.h"

using namespace xmltest;

// Plays writer calls split at "|" and returns the text: "<a" / open and close an element, "<?t" ? an instruction,
// "@k=v" attribute, "~2" xml:space mode, "\"x" text, "[x" CDATA, "!x" comment, "%t=d" a whole instruction.
static std::string Play(const std::string& Script, TXmlWriter&& W = TXmlWriter()) {
  for (size_t Start = 0, End; Start <= Script.size(); Start = End + 1) {
    End = std::min(Script.find('|', Start), Script.size());
    const std::string Call = Script.substr(Start, End - Start), Arg = Call.substr(Call.empty() ? 0 : 1);
    const size_t Eq = Arg.find('=');
    if (Call.starts_with("<?")) W.OpenProcessingInstruction(Call.substr(2));
    else if (Call[0] == '<') W.OpenNode(Arg);
    else if (Call == "/") W.CloseNode();
    else if (Call == "?") W.CloseProcessingInstruction();
    else if (Call[0] == '@') W.WriteAttribute(Arg.substr(0, Eq), Arg.substr(Eq + 1));
    else if (Call[0] == '~') W.WriteXmlSpace(static_cast<TXmlSpace>(Arg[0] - '0'));
    else if (Call[0] == '"') W.WriteText(Arg);
    else if (Call[0] == '[') W.WriteCData(Arg);
    else if (Call[0] == '!') W.WriteComment(Arg);
    else if (Call[0] == '%') W.WriteProcessingInstruction(Arg.substr(0, Eq), Arg.substr(Eq + 1));
  }
  return W.GetXml();
}

TEST(XmlWriter, LaysOutElementsByTheirContent) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<A|@z=1|@a=2|@z=3|/", "<A z=\"1\" a=\"2\" z=\"3\"/>\r\n"},
      {"<r|!c|/", "<r>\r\n\t<!--c-->\r\n</r>\r\n"},
      {"<r|<a|\"x|<b|<c|/|/|[y|/|/", "<r>\r\n\t<a>x<b><c/></b><![CDATA[y]]></a>\r\n</r>\r\n"},
      {"<a|<b|/|\"x|/", "<a>\r\n\t<b/>\r\nx</a>\r\n"},
      {"<r|<p|~2|<a|/|<b|!c|/|/|/", "<r>\r\n\t<p xml:space=\"preserve\"><a/><b><!--c--></b></p>\r\n</r>\r\n"},
      {"<a|~0|~1|<b|/|/", "<a xml:space=\"default\">\r\n\t<b/>\r\n</a>\r\n"},
      {"<a|%t=d|/|%u=", "<a>\r\n\t<?t d?>\r\n</a>\r\n<?u ?>\r\n"},
      {"<?x-y|@a=1|?", "<?x-y a=\"1\"?>\r\n"},
      {"<_aZ09-.:_|@b-1.c:d_=v|@b=c", "<_aZ09-.:_ b-1.c:d_=\"v\" b=\"c\""},  // open levels stay open
      {"<a|@v=&<>\"'|\"&<>\"'|[&<>\"'|!&<>\"'|%t=&<>\"'|/",
       "<a v=\"&amp;&lt;&gt;&quot;&apos;\">&amp;&lt;&gt;&quot;&apos;"
       "<![CDATA[&<>\"']]><!--&<>\"'--><?t &<>\"'?></a>\r\n"},
      {"<a|\"\xC3\xA4\xFF\x80 x\r\ny\tz\x01|/", "<a>\xC3\xA4\xFF\x80 x\r\ny\tz\x01</a>\r\n"},
  };
  for (const auto& [Script, Expected] : Cases) {
    SCOPED_TRACE(Script);
    EXPECT_EQ(Play(Script), Expected);
  }
}

TEST(XmlWriter, RefusesCallsInTheWrongOrderAndBadNames) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<?t|!x", "Processing Instructions may not have subnodes!"},
      {"<?t|/", "Invalid function call! Expected: CloseProcessingInstruction(); Called: CloseNode();"},
      {"<a|?", "Invalid function call! Expected: CloseNode(); Called: CloseProcessingInstruction();"},
      {"<a|\"|~2", "Attributes can only be written before content."},
      {"<1a", "Invalid start character for XML-element!"},
      {"<a\xE4", "Invalid character for XML-element!"},
      {"<a|@b\"=1", "Invalid character for XML-element!"},
  };
  for (const auto& [Script, Message] : Cases) {
    SCOPED_TRACE(Script);
    EXPECT_EQ(ErrorOf([&] { Play(Script); }), Unpositioned(Message));
  }
}

TEST(XmlWriter, WritesDocumentsWithTheDeclarationFirst) {
  TXmlFile File;
  File.Elements().AddNew<TXmlComment>("c");
  auto& Root = File.Elements().AddNew<TXmlNode>("r");
  Root.XmlSpace = xsPreserve;
  Root.XmlLang = "de";
  Root.Attributes.Add("v", "<&>\"'\t\r\n");
  Root.Elements().AddNew<TXmlNode>("text", " a\r\n<b>&c; ");
  Root.Elements().AddNew<TXmlNode>("empty", "");
  File.Elements().AddNew<TXmlDeclaration>(xeCustom, "UTF-8").Standalone = false;
  EXPECT_EQ(File.GetXml(), "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<!--c-->\r\n"
                           "<r xml:space=\"preserve\" xml:lang=\"de\" v=\"&lt;&amp;&gt;&quot;&apos;\t\r\n\">"
                           "<text> a\r\n&lt;b&gt;&amp;c; </text><empty></empty></r>\r\n");
  for (auto [Encoding, Attribute] : {std::pair{xeNone, ""}, {xeWindows1252, " encoding=\"windows-1252\""}}) {
    File.Elements().Clear();
    File.Elements().AddNew<TXmlDeclaration>(Encoding);
    EXPECT_EQ(File.GetXml(), "<?xml version=\"1.0\"" + std::string(Attribute) + " standalone=\"yes\"?>\r\n");
  }
}
