#include "XmlTestUtil.h"

using namespace xmltest;

static std::string Read(const std::string& Text, TXmlSpace Mode = xsDefault, bool Normalize = false) {
  TXmlFile File;
  TXmlReader(Mode, Normalize).Parse(Text, File);
  return Describe(File);
}

TEST(XmlReader, ReportsErrorsWithMessageAndPosition) {
  const std::string Eof = "Unexpected end of file!", Char = "Invalid character found!";
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<a>", Eof + " @1:3 <a>"},
      {"<a b=\r\n", Eof + " @1:7 <a b=  "},
      {"</a>", "Unknown tag found! @1:2 </a>"},
      {"<!DOCTYPE x>", "Unknown or invalid node type! @1:2 <!DOCTYPE x>"},
      {"<a>1 > 0</a>", Char + " @1:6 <a>1 > 0</a>"},
      {"<a></1a>", "Invalid start character in XML-element! @1:6 <a></1a>"},
      {"<?target?>", "Invalid character in XML tag name! @1:9 <?target?>"},
      {"<a b c=\"1\"/>", "Invalid character in XML attribute! @1:6 <a b c=\"1\"/>"},
      {"<a b=1/>", "Invalid character in XML attribute value! @1:6 <a b=1/>"},
      {"<a>&AMP;</a>", "Unknown entity! @1:8 <a>&AMP;</a>"},
      {"<a>&#X41;</a>", "Invalid entity! @1:9 <a>&#X41;</a>"},
      // Each run of line breaks counts as one line.
      {"<r>\r\n\t<a b=1/>\r\n</r>", "Invalid character in XML attribute value! @2:7 \t<a b=1/>"},
      {"<r>\r\n\r\n<a/>\r\n1 > 0</r>", Char + " @3:3 1 > 0</r>"},
      {"<r>\n\n\n<a/>\n1 > 0</r>", Char + " @3:3 1 > 0</r>"},
      {"<r>\r<a/>\r\r1 > 0</r>", Char + " @3:3 1 > 0</r>"},
      {"<r>\n  <a/>\n  x > 0\n</r>", Char + " @3:5   x > 0"},
      // Structure errors carry no position.
      {"<a b=\"1\"/x>", Unpositioned("Unexpected/invalid character found!")},
      {"<a><b></a></b>", Unpositioned("Identifier of closing tag does not match identifier of opening tag!")},
      {"<a></A>", Unpositioned("Identifier of closing tag does not match identifier of opening tag!")},
      {"<a></a x>", Unpositioned("Invalid character found! Expected \">\".")},
      {"<?xml standalone=\"Yes\"?>", Unpositioned("Invalid attribute for XML-Declaration attribute \"standalone\"!")},
      {"<?xml Version=\"1.0\"?>", Unpositioned("Invalid/unknown attribute (\"Version\") inside XML-Declaration!")},
      {"<?xml-stylesheet a=\"x\"?>",
       Unpositioned("Invalid/unknown attribute (\"a\") inside XML-Stylesheet-Declaration!")},
      {"<a/><b/>", kAddRefused},
      {"<?xml version=\"1.0\"?><?xml version=\"1.1\"?>", kAddRefused},
      {"<a><?xml-stylesheet href=\"x\"?></a>", kAddRefused},
  };
  for (const auto& [Text, Error] : Cases) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(ErrorOf([&] { Read(Text); }), Error);
  }
}

TEST(XmlReader, ReportsTheEndOfTextInEveryConstructOnItsLine) {
  for (const std::string Text : {"<", "<a", "<a 1", "<a\t", "<a /", "<a b=\"x\"", "<a b=\"x\"1", "<a>x</a", "<a></",
                                 "<a>&amp", "<a b=\"x", "<!-- open", "<?xml 1",
                                 "<a><![CDATA[x]]", "<?t data", "<?xml version=\"1.0\"", "<a><!-- x --"}) {
    SCOPED_TRACE(Text);
    const std::string Error = ErrorOf([&] { Read(Text); }), Prefix = "Unexpected end of file! @1:";
    const int Column = Error.starts_with(Prefix) ? std::stoi(Error.substr(Prefix.size())) : 0;
    EXPECT_TRUE(Column >= 1 && Column <= static_cast<int>(Text.size())) << Error;
    EXPECT_EQ(Error.substr(Error.find(' ', Prefix.size()) + 1), Text);
  }
}

TEST(XmlReader, ReadsEveryKindOfMarkup) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<a>  <b/>  </a><!-- a - b -- c --><!----><!-- x --->", "E(a)[E(b)] !\" a - b -- c \" !\"\" !\" x -\""},
      {"<a>&lt;&gt;&amp;&quot;&apos;&#x141;&#0066;&#x3c;</a>", "E(a)[T\"<>&\"'AB<\"]"},
      {"<a b='it\"s' c=\"it's\" y='2'z=\"3\" b=\"4\"/>", "E(a b=\"it\"s\" c=\"it's\" y=\"2\" z=\"3\" b=\"4\")"},
      {"<a v = \"&lt;\t\r\n&#9;\" w=''/>", "E(a v=\"<\t\r\n\t\" w=\"\")"},
      {"<a\n\tb=\"1\"\r\n></a \r\n>", "E(a b=\"1\")"},
      {"<a><b/>x<!--c--><?p d?></a>", "E(a)[E(b),T\"x\",!\"c\",?p\"d\"]"},
      {"<a>x<![CDATA[<&amp;]]]>z<![CDATA[ ]]></a>", "E(a)[T\"x\",C\"<&amp;]\",T\"z\",C\" \"]"},
      {"\xEF\xBB\xBFjunk > & ]]> <a/> trailing & text", "E(a)"},
      {"<a>\xC3\xA4\xFF</a>", "E(a)[T\"\xC3\xA4\xFF\"]"},
      {"<?t a?b ?><?t \t\r\nx\r\n?><?t ?>", "?t\"a?b \" ?t\"x\r\n\" ?t\"\""},
      {"<?xml version='1.1' standalone='no' encoding='UTF-8' ?>", "D(1.1,2,UTF-8,no)"},
      // A repeated encoding: the later one holds, and the name never outlives it.
      {"<?xml encoding=\"x\" encoding=\"windows-1252\"?>", "D(1.0,1,,yes)"},
      {"<?xml encoding=\"windows-1252\" encoding=\"UTF-8\"?>", "D(1.0,2,UTF-8,yes)"},
      {"<?xml encoding=\"Windows-1252\"?>", "D(1.0,2,Windows-1252,yes)"},  // names are exact
      {"<?xml encoding=\"utf-8\"?>", "D(1.0,2,utf-8,yes)"},
      {"<?xml-stylesheet href=\"a&amp;b\"type=\"x/y\"?><?xml-stylesheet type=\"text/css\"?>", "S(3,x/y,a&b) S(0,,)"},
      {"<?xml-stylesheet type=\"text/xsl\"?><?xml-stylesheet type=\"text/xml\"?><?xml-stylesheet type=\"TEXT/XSL\"?>",
       "S(1,,) S(2,,) S(3,TEXT/XSL,)"},
      {"<a>&#x;|&#256;|&#x100;|&#321;|&#xFF;</a>", std::string("E(a)[T\"\0|\0|\0|A|\xFF\"]", 18)},
  };
  for (const auto& [Text, Tree] : Cases) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(Read(Text), Tree);
  }
}

TEST(XmlReader, HandlesWhitespaceAndLineBreaksByMode) {
  const std::string Text = "<a> <b>\t</b>\r\n</a>";
  EXPECT_EQ(Read(Text, xsDefault), "E(a)[E(b)]");
  EXPECT_EQ(Read(Text, xsPreserve), "E(a)[T\" \",E(b)[T\"\t\"],T\"\r\n\"]");
}

TEST(XmlReader, ReadsAThousandNestedElementsAndRefusesTheNextAtItsName) {
  std::string Open, Close, Tree;
  for (int I = 0; I < 1000; ++I) { Open += "<a>"; Close += "</a>"; Tree += "E(a)["; }
  EXPECT_EQ(Read(Open + "x" + Close), Tree + "T\"x\"" + std::string(1000, ']'));
  const std::string Message = "Maximum nesting depth of XML-elements exceeded! @1:";
  const std::string Siblings = "<r><s/><s/>" + Open.substr(3) + "<z>", Flat = Open + "<b/>" + Close;
  EXPECT_EQ(ErrorOf([&] { Read(Siblings); }), Message + std::to_string(Siblings.size() - 1) + " " + Siblings);
  TXmlFile File;  // nothing of the refused element is added
  EXPECT_EQ(ErrorOf([&] { TXmlReader(xsDefault, false).Parse(Flat, File); }), Message + "3002 " + Flat);
  EXPECT_EQ(Describe(File), Tree.substr(5) + "E(a)" + std::string(999, ']'));
}
