#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "framework/archive/XMLArchive.h"
#include "tests/support/ArchiveText.h"

using Serialization::XMLArchive;

namespace {

// An object holding one attribute of every type and a child object.
class Everything : public Serialization::Serializable {
 public:
  class Child : public Serialization::Serializable {
   public:
    std::string_view GetTypeId() const override { return "QMR_Child"; }
    void Save(Serialization::Archive& archive) override { archive.WriteInt("depth", depth); }
    void Load(Serialization::Archive& archive) override { depth = archive.ReadInt("depth"); }
    std::int32_t depth = 0;
  };

  std::string_view GetTypeId() const override { return "QMR_Everything"; }
  void Save(Serialization::Archive& archive) override {
    archive.WriteBool("flag", flag);
    archive.WriteInt("count", count);
    archive.WriteInt64("big", big);
    archive.WriteVectorOfFloat("early", early);
    archive.WriteFloat("gain", gain);
    archive.WriteString("label", label);
    archive.WriteBinary("blob", blob.data(), blob.size());
    archive.WriteVectorOfDouble("curve", curve);
    child.SaveAsObject(archive, "inner");
  }
  void Load(Serialization::Archive& archive) override {
    flag = archive.ReadBool("flag");
    count = archive.ReadInt("count");
    big = archive.ReadInt64("big");
    archive.ReadVectorOfFloat("early", early);
    gain = archive.ReadFloat("gain");
    label = archive.ReadString("label");
    size_t length = 0;
    auto bytes = archive.ReadBinary("blob", length);
    blob.assign(bytes.get(), bytes.get() + length);
    archive.ReadVectorOfDouble("curve", curve);
    child.LoadAsObject(archive, "inner");
  }

  bool flag = true;
  std::int32_t count = -42;
  std::int64_t big = 1234567890123ll;
  std::vector<float> early{0.5f, 1.25f};
  double gain = 0.1;
  std::string label = "a <b> & 'c'";
  std::vector<std::uint8_t> blob;
  std::vector<double> curve{1.0, -2.5, 1e-3};
  Child child;
};

std::string Save(Everything& object) {
  std::ostringstream out;
  XMLArchive archive(out, "Test Archive", true);
  archive.BeginSave();
  object.SaveAsObject(archive, "Everything");
  archive.EndSave();
  return out.str();
}

std::string ParseError(const std::string& text, const char* read = nullptr) {
  try {
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    if (read) archive.ReadInt(read);
  } catch (const XMLArchive::ParseException& error) {
    return error.what();
  }
  return "no error";
}

std::string Attribute(const char* type, const char* content, const char* extra = "") {
  return std::string("<obj_archive type=\"t\">\n<att name=\"v\" type=\"") + type + "\"" + extra + ">" +
         content + "</att>\n</obj_archive>\n";
}

}  // namespace

TEST(XMLArchive, WritesEveryAttributeTypeOneElementPerLine) {
  Everything object;
  for (int i = 0; i < 33; ++i) object.blob.push_back(static_cast<std::uint8_t>(i * 7));
  object.child.depth = 3;
  const std::string text = Save(object);
  const std::string expected =
      "<obj_archive type=\"Test Archive\">\n"
      "<obj id=\"X\" name=\"Everything\" type=\"QMR_Everything\">\n"
      "\t<att name=\"flag\" type=\"bool\">true</att>\n"
      "\t<att name=\"count\" type=\"i\">-42</att>\n"
      "\t<att name=\"big\" type=\"i64\">1234567890123</att>\n"
      "\t<att name=\"early\" type=\"fvec\" vec_size=\"2\">\n"
      "\t\t0.5|\n"
      "\t\t1.25\n"
      "\t</att>\n"
      "\t<att name=\"gain\" type=\"f\">0.1000000000000000</att>\n"
      "\t<att name=\"label\" type=\"str\">a <b> & 'c'</att>\n"
      "\t<att name=\"blob\" type=\"bin\" bin_size=\"33\">\n"
      "\t\t00070E151C232A31383F464D545B626970777E858C939AA1A8AFB6BDC4CBD2D9\n"
      "\t\tE0\n"
      "\t</att>\n"
      "\t<att name=\"curve\" type=\"fvec\" vec_size=\"3\">\n"
      "\t\t1.0000000000000000|\n"
      "\t\t-2.5000000000000000|\n"
      "\t\t0.0010000000000000\n"
      "\t</att>\n"
      "\t<obj id=\"X\" name=\"inner\" type=\"QMR_Child\">\n"
      "\t\t<att name=\"depth\" type=\"i\">3</att>\n"
      "\t</obj>\n"
      "</obj>\n"
      "</obj_archive>\n";
  EXPECT_EQ(WithoutIds(text), expected + std::string(1, '\0'));
  EXPECT_EQ(text.find("<obj id=\"0"), expected.find("<obj id=\""));  // ten zero-filled digits
}

TEST(XMLArchive, ReadsBackWhatItWrote) {
  Everything saved;
  saved.flag = false;
  saved.blob = {0x00, 0xFF, 0x10};
  saved.child.depth = 9;
  const std::string text = Save(saved);
  Everything loaded;
  loaded.flag = true;
  loaded.count = loaded.big = 0;
  loaded.early = {};
  loaded.curve = {};
  loaded.label.clear();
  XMLArchive archive(text.data(), text.size());
  EXPECT_EQ(archive.GetArchiveType(), "Test Archive");
  archive.BeginLoad();
  loaded.LoadAsObject(archive, "Everything");
  EXPECT_EQ(loaded.flag, false);
  EXPECT_EQ(loaded.count, -42);
  EXPECT_EQ(loaded.big, 1234567890123ll);
  EXPECT_EQ(loaded.early, saved.early);
  EXPECT_DOUBLE_EQ(loaded.gain, 0.1);
  EXPECT_EQ(loaded.label, saved.label);
  EXPECT_EQ(loaded.blob, saved.blob);
  EXPECT_EQ(loaded.curve, saved.curve);
  EXPECT_EQ(loaded.child.depth, 9);
  EXPECT_EQ(WithoutIds(Save(loaded)), WithoutIds(text));
}

TEST(XMLArchive, EmptyBinaryAndVectorAndTheDeclaration) {
  std::ostringstream out;
  XMLArchive archive(out, "T", false);
  archive.BeginSave();
  archive.WriteBinary("b", nullptr, 0);
  archive.WriteVectorOfFloat("v", {});
  archive.EndSave();
  EXPECT_EQ(out.str(), std::string("<?xml version=\"1.0\"?>\n<obj_archive type=\"T\">\n"
                                   "<att name=\"b\" type=\"bin\" bin_size=\"0\">\n</att>\n"
                                   "<att name=\"v\" type=\"fvec\" vec_size=\"0\">\n</att>\n"
                                   "</obj_archive>\n") +
                           '\0');
}

TEST(XMLArchive, NamesAndValuesThatWouldBreakTheTextAreRefused) {
  for (const char* name : {"a&b", "a<b", "a>b", "a\"b", "a'b"}) {
    std::ostringstream out;
    XMLArchive archive(out, "T", true);
    try {
      archive.WriteString(name, "x");
      FAIL() << name;
    } catch (const XMLArchive::ParseException& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("illegal character in '") + name +
                    "'\nExpression 'str.find(cSpecialChars[k]) == std::string::npos' failed in "
                    "'MiscCodeLib\\Serialization\\XMLArchive:1064");
    }
  }
  for (const std::string& value :
       {std::string("x</att>"), std::string("x\r\n"), std::string("x\0y", 3), std::string("</program>")}) {
    std::ostringstream out;
    XMLArchive archive(out, "T", true);
    EXPECT_THROW(archive.WriteString("name", value), XMLArchive::ParseException);
    EXPECT_EQ(out.str(), "");
    // What the writer refuses the reader refuses too, so nothing loaded is unsaveable ("</att>"
    // simply ends the value).
    if (value == "x</att>") continue;
    const std::string text =
        "<obj_archive type=\"t\">\n<att name=\"v\" type=\"str\">" + value + "</att>\n</obj_archive>\n";
    XMLArchive reading(text.data(), text.size());
    reading.BeginLoad();
    try {
      reading.ReadString("v");
      ADD_FAILURE() << value;
    } catch (const XMLArchive::ParseException& error) {
      EXPECT_EQ(std::string(error.what()).find("illegal value for 'v'\nExpression 'IsStorableValue(str)'"),
                0u);
    }
  }
}

TEST(XMLArchive, ValueParsing) {
  const struct {
    const char* type;
    const char* content;
    double expected;
  } cases[] = {
      {"i", "010", 8},
      {"i", "0x1F", 31},
      {"i", " -7 and more", -7},
      {"i", "99999999999", 2147483647},
      {"i", "-99999999999", -2147483648.0},
      {"i", "junk", 0},
      {"i64", "9007199254740993", 9007199254740992.0},
      {"i64", "12.9", 12},
      {"i64", "1e300", 9223372036854775807.0},
      {"i64", "nan", 0},
      {"f", " 1.5e3", 1500},
      {"f", "1,5", 1},
      {"f", "-0.25x", -0.25},
      {"f", "1e999", INFINITY},
      {"f", "1e-999", 0},
      {"f", "", 0},
      {"f", "--5", 0},
      {"f", "+-5", 0},
      {"f", "0x10", 16},
      {"f", "-0x1p3", -8},
      {"i64", "0x10", 16},
      {"bool", "true", 1},
      {"bool", "TRUE", 0},
      {"bool", "false", 0},
      {"bool", " true", 0},
  };
  for (const auto& c : cases) {
    const std::string text = Attribute(c.type, c.content);
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    double value = 0;
    if (std::strcmp(c.type, "i") == 0) value = archive.ReadInt("v");
    if (std::strcmp(c.type, "i64") == 0) value = static_cast<double>(archive.ReadInt64("v"));
    if (std::strcmp(c.type, "f") == 0) value = archive.ReadFloat("v");
    if (std::strcmp(c.type, "bool") == 0) value = archive.ReadBool("v");
    EXPECT_EQ(value, c.expected) << c.type << " '" << c.content << "'";
  }
}

// A host may set any C or C++ locale: sizes must not gain grouping ("1,234") nor numbers a
// decimal comma, on either side.
TEST(XMLArchive, NumbersIgnoreTheHostsLocale) {
  int tried = 0;
  for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8"}) {
    SCOPED_TRACE(name);
    std::locale host;
    try {
      host = std::locale(name);
    } catch (const std::runtime_error&) {
      continue;
    }
    ++tried;
    const std::locale before = std::locale::global(host);
    Everything object;
    object.blob.assign(1234, 0x5A);
    object.curve.assign(1234, 2.5);
    object.gain = 1234.5;
    const std::string text = Save(object);
    Everything loaded;
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    loaded.LoadAsObject(archive, "Everything");
    std::locale::global(before);
    EXPECT_NE(text.find("bin_size=\"1234\""), std::string::npos);
    EXPECT_NE(text.find("vec_size=\"1234\""), std::string::npos);
    EXPECT_NE(text.find(">1234.5000000000000000<"), std::string::npos);
    EXPECT_EQ(loaded.blob, object.blob);
    EXPECT_EQ(loaded.curve, object.curve);
    EXPECT_EQ(loaded.gain, 1234.5);
  }
  if (tried == 0) GTEST_SKIP() << "no English or German locale here";
}

TEST(XMLArchive, BinaryAndVectorContents) {
  {
    const std::string text = Attribute("bin", "\n\t0a1B\n\tff", " bin_size=\"4\"");
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    size_t length = 0;
    auto bytes = archive.ReadBinary("v", length);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.get(), bytes.get() + 5),
              (std::vector<std::uint8_t>{0x0A, 0x1B, 0xFF, 0, 0}));
  }
  {
    const std::string text = Attribute("fvec", "\n\t1.5|\n\tx|\n\t3", " vec_size=\"5\"");
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    std::vector<double> values{9, 9, 9, 9, 9, 9, 9};
    archive.ReadVectorOfDouble("v", values);
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0], 1.5);
    EXPECT_EQ(values[4], 0.0);
  }
  for (const char* size : {"-1", "99999999999999999999", "4294967297", "0x10"}) {
    const std::string bin = Attribute("bin", "00", (std::string(" bin_size=\"") + size + "\"").c_str());
    const std::string vec = Attribute("fvec", "1", (std::string(" vec_size=\"") + size + "\"").c_str());
    XMLArchive binArchive(bin.data(), bin.size());
    binArchive.BeginLoad();
    XMLArchive vecArchive(vec.data(), vec.size());
    vecArchive.BeginLoad();
    size_t length = 0;
    std::vector<float> values;
    if (std::string(size) == "0x10") {  // read as decimal: 0
      EXPECT_EQ(binArchive.ReadBinary("v", length)[0], 0);
      EXPECT_EQ(length, 0u);
      continue;
    }
    EXPECT_THROW(binArchive.ReadBinary("v", length), XMLArchive::ParseException) << size;
    EXPECT_THROW(vecArchive.ReadVectorOfFloat("v", values), XMLArchive::ParseException) << size;
  }
}

TEST(XMLArchive, BinaryRefusesWhatIsNoHexDigit) {
  // Each content holds one character that is neither a hex digit nor white space: before the
  // count, at its end, and past it.
  for (const char* content : {"0G", "G0", "0x10", "1-2-", "00\n\t0.", "00 zz", "\x80\x80", "0A\x01"}) {
    const std::string text = Attribute("bin", content, " bin_size=\"1\"");
    XMLArchive archive(text.data(), text.size());
    archive.BeginLoad();
    size_t length = 0;
    try {
      archive.ReadBinary("v", length);
      ADD_FAILURE() << content;
    } catch (const XMLArchive::ParseException& error) {
      EXPECT_EQ(std::string(error.what()).find("illegal hex digit in 'v'\nExpression 'IsHexDigit(c)'"), 0u)
          << content;
    }
  }
  // White space anywhere and digits past the count are no fault.
  const std::string text = Attribute("bin", "\n\t0 a\r\n\tFf\n\t", " bin_size=\"1\"");
  XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  size_t length = 0;
  const auto bytes = archive.ReadBinary("v", length);
  EXPECT_EQ(length, 1u);
  EXPECT_EQ(bytes[0], 0x0A);
  EXPECT_EQ(bytes[1], 0);
}

TEST(XMLArchive, ScansPastDeclarationsCommentsAndUnknownTags) {
  const std::string text =
      "<?xml version=\"1.0\"?>\n<!-- a comment -->\n<obj_archive type=\"T\">\n"
      "<unknown tag>\n<obj id=\"0000000010\" name=\"o\" type=\"QMR_O\">\n"
      "<att name=\"v\" type=\"str\">text with <tags> inside</att>\n"
      "<att name=\"v\" type=\"str\">second of the name</att>\n"
      "</obj>\n<obj id=\"11\" name=\"spaced\" type=\"QMR_S\">\n</obj >\n</obj_archive>\n";
  XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  EXPECT_TRUE(archive.HasEntry("o"));
  EXPECT_FALSE(archive.HasEntry("O"));
  EXPECT_EQ(archive.ReadObjectType(10), "QMR_O");
  EXPECT_THROW(archive.ReadObjectType(11), XMLArchive::ParseException);  // no end, no index entry
  ASSERT_TRUE(archive.EnterObjectPath({"o"}));
  EXPECT_EQ(archive.ReadString("v"), "text with <tags> inside");
  EXPECT_FALSE(archive.EnterObjectPath({"missing"}));
  EXPECT_TRUE(archive.LeaveObjects(1));
  EXPECT_FALSE(archive.LeaveObjects(1));
  EXPECT_TRUE(archive.EnterObjectPath({}));
}

TEST(XMLArchive, ErrorTextsNameTheFailedCheck) {
  const std::string site = "' failed in 'MiscCodeLib\\Serialization\\XMLArchive:";
  std::string thousandTags;
  for (int i = 0; i < 1000; ++i) thousandTags += "<!-- -->";
  const struct {
    std::string text;
    const char* read;
    std::string error;
  } cases[] = {
      {"no tags at all", nullptr,
       "cant find root node, may not be archive data\nExpression 'foundRoot" + site + "280"},
      {thousandTags + "<obj_archive type=\"t\"></obj_archive>", nullptr,
       "cant find root node, may not be archive data\nExpression 'foundRoot" + site + "280"},
      {"<obj_archive type=\"t\"", nullptr,
       "expected '>', got to end of archive\nExpression 'start!=mLoadStreamEnd" + site + "301"},
      {"<obj_archive type=\"t\">\n<obj id=\"1\" name=\"a\" type=\"b\">\n", nullptr,
       "expected '<', got to end of archive\nExpression 'pos!=mLoadStreamEnd" + site + "339"},
      {"<obj_archive type=\"t\">\n</other", nullptr,
       "expected '>', got to end of archive\nExpression 'newPos!=mLoadStreamEnd" + site + "368"},
      {"<obj_archive type=\"t\">\n<!-- never closed", nullptr,
       "expected '>', got to end of archive\nExpression 'pos!=mLoadStreamEnd" + site + "396"},
      {"<obj_archive type=\"t\">\n<att name=\"v\" type=\"i\">1\n</obj_archive>", nullptr,
       "expected '</att>', got to end of archive\nExpression 'pos!=mLoadStreamEnd" + site + "409"},
      {"<obj_archive type=\"t\">\n<obj name=\"v\" type=\"b\">\n</obj>\n</obj_archive>\n", "v",
       "node is not an attribute '<obj name=\"v\" type=\"b\">'\nExpression "
       "'attrNode->GetType()==ArchiveNode::Attribute" +
           site + "1029"},
      {"<obj_archive type=\"t\">\n<att name=\"v\">1</att>\n</obj_archive>\n", "v",
       "cant find type for attribute '<att name=\"v\">'\nExpression 'typeVal.first" + site + "1032"},
      {"<obj_archive type=\"t\">\n<att name=\"v\" type=>1</att>\n</obj_archive>\n", "v",
       "cant find any attribute value in quotes \"*\" for attribute 'type'\ncurrent node is : \n"
       "<att name=\"v\" type=>\nExpression 'valStart!=GetOpenEnd()" +
           site + "219"},
      {"<obj_archive type=\"t\">\n<att name=\"v\" type=\"i>1</att>\n</obj_archive>\n", "v",
       "cant find any attribute value in quotes \"*\"\nExpression 'valEnd!=GetOpenEnd()" + site + "224"},
      {"<obj_archive type=\"t\">\n<att name=\"v\" x=\"type>1</att>\n</obj_archive>\n", "v",
       "cant find matching quote pair.\ncurrent node is : \n<att name=\"v\" x=\"type>\nExpression "
       "'quotePairEnd!=GetOpenEnd()" +
           site + "206"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseError(c.text, c.read), c.error) << c.text.substr(0, 80);
}

TEST(XMLArchive, DamagedInputFailsInAnOrderlyWay) {
  // A missing attribute, a missing object, a name whose quote never closes, deep nesting.
  EXPECT_NE(ParseError(Attribute("i", "1"), "other").find("cant find attribute 'other'"), std::string::npos);
  const std::string text = Attribute("i", "1");
  XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  EXPECT_THROW(archive.EnterObject("Settings Metadata", "PluginCore_SettingsMetaData"),
               XMLArchive::ParseException);
  EXPECT_THROW(archive.EnterObject("v", "x"), XMLArchive::ParseException);  // an attribute, not an object
  EXPECT_NE(ParseError("<obj_archive type=\"t\">\n<att name=\"v>1</att>\n</obj_archive>\n")
                .find("cant find matching quote pair."),
            std::string::npos);
  std::string deep = "<obj_archive type=\"t\">\n";
  for (int i = 0; i < 100000; ++i) deep += "<obj id=\"1\" name=\"n\" type=\"t\">";
  EXPECT_NE(ParseError(deep).find("objects nested too deeply"), std::string::npos);
  EXPECT_NE(ParseError("").find("cant find root node"), std::string::npos);
  EXPECT_THROW(XMLArchive(nullptr, 0), XMLArchive::ParseException);
  const std::string unbegun = Attribute("i", "1");
  XMLArchive notLoaded(unbegun.data(), unbegun.size());  // BeginLoad not called: reads fail cleanly
  EXPECT_FALSE(notLoaded.HasEntry("v"));
  EXPECT_THROW(notLoaded.ReadInt("v"), XMLArchive::ParseException);
}

TEST(XMLArchive, ALongStartTagIsScannedOnce) {
  // Many attribute-name matches in one tag: each search goes on from the last, so this stays
  // fast even for a tag of megabytes (it used to recount from the tag's start every time).
  std::string tag = "<obj_archive type=\"t\">\n<obj name=\"o\" ";
  for (int i = 0; i < 200000; ++i) tag += "\"id\" ";
  const std::string text = tag + "type=\"x\">\n</obj>\n</obj_archive>\n";
  EXPECT_EQ(ParseError(text), "no error");  // every "id" lies inside quotes: no id, no error
}

TEST(XMLArchive, ManyEntriesOfOneObjectAreFoundByNameFirstOneFirst) {
  std::string text = "<obj_archive type=\"t\">\n";
  for (int i = 0; i < 5000; ++i) {
    text += "<att name=\"" + std::to_string(i % 2500) + "\" type=\"i\">" + std::to_string(i) + "</att>\n";
  }
  text += "<obj id=\"0000000001\" name=\"o\" type=\"x\">\n</obj>\n</obj_archive>\n";
  XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  for (int i = 0; i < 2500; ++i) ASSERT_EQ(archive.ReadInt(std::to_string(i)), i);  // not i + 2500
  EXPECT_FALSE(archive.HasEntry("2500"));
  EXPECT_FALSE(archive.HasEntry(""));
  EXPECT_TRUE(archive.EnterObjectPath({"o"}));
  EXPECT_FALSE(archive.HasEntry("0"));  // the index belongs to its own object
}

TEST(XMLArchive, AVectorWithALongWhiteSpaceTailIsReadInOnePass) {
  // Every position of the tail reads as no number; the tail is not re-scanned from each of them,
  // which took hours for a tail of megabytes.
  const size_t count = 4u << 20;
  const std::string text = Attribute("fvec", ("  7 | 8" + std::string(count, ' ') + "x").c_str(),
                                     (" vec_size=\"" + std::to_string(count) + "\"").c_str());
  XMLArchive archive(text.data(), text.size());
  archive.BeginLoad();
  std::vector<double> values;
  archive.ReadVectorOfDouble("v", values);
  ASSERT_EQ(values.size(), count);
  EXPECT_EQ(values[0], 7.0);
  EXPECT_EQ(values[1], 0.0);  // "|" is no number: 0 and one character on
  EXPECT_EQ(values[2], 8.0);
  EXPECT_EQ(std::count(values.begin() + 3, values.end(), 0.0), static_cast<std::ptrdiff_t>(count - 3));
}
