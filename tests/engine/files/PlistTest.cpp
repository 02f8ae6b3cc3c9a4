#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cocos2d.h"

USING_NS_CC;

namespace {

// A fresh resource root under the system temp folder for each test.
class PlistFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/engine-plist-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_savedRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir);
    }
    void TearDown() override
    {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_savedRoot);
        std::string cmd = "rm -rf '" + m_dir + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        CCPoolManager::sharedPoolManager()->drain();
    }

    void write(const std::string& name, const std::string& body)
    {
        std::ofstream out(m_dir + "/" + name, std::ios::binary);
        out << body;
    }
    static std::string plist(const std::string& inner)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
               "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
               "<plist version=\"1.0\">\n" +
            inner + "\n</plist>\n";
    }
    static std::string str(CCObject* o)
    {
        CCString* s = dynamic_cast<CCString*>(o);
        return s ? s->getString() : std::string("<not a string>");
    }

    std::string m_dir;
    std::string m_savedRoot;
};

}  // namespace

TEST_F(PlistFiles, ScalarsComeBackAsTheTextWritten)
{
    write("shop.plist", plist(R"(<dict>
  <key> </key><string>space glyph</string>
  <key>price_int</key><integer>12</integer>
  <key>price_str</key><string>12</string>
  <key>ratio</key><real>1.50</real>
  <key>when</key><date>2012-01-01T00:00:00Z</date>
  <key>on</key><true/>
  <key>off</key><false/>
  <key>empty</key><string/>
  <key>padded</key><string>  two  words </string>
  <key>entities</key><string>a &amp; b &lt;c&gt; &#233;&quot;</string>
  <key>caf&#233; ü</key><string>ñandú</string>
  <key>nested</key><dict><key>list</key><array><integer>1</integer><string>two</string><array/></array></dict>
</dict>)"));
    CCDictionary* d = CCDictionary::createWithContentsOfFile("shop.plist");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(str(d->objectForKey(" ")), "space glyph");
    EXPECT_EQ(str(d->objectForKey("price_int")), "12");
    EXPECT_EQ(str(d->objectForKey("price_str")), "12");
    EXPECT_EQ(str(d->objectForKey("ratio")), "1.50");
    EXPECT_EQ(str(d->objectForKey("when")), "2012-01-01T00:00:00Z");
    EXPECT_EQ(str(d->objectForKey("on")), "1");
    EXPECT_EQ(str(d->objectForKey("off")), "0");
    EXPECT_TRUE(d->valueForKey("on")->boolValue());
    EXPECT_FALSE(d->valueForKey("off")->boolValue());
    EXPECT_EQ(d->valueForKey("on")->intValue(), 1);
    EXPECT_EQ(str(d->objectForKey("empty")), "");
    EXPECT_EQ(str(d->objectForKey("padded")), "  two  words ");
    EXPECT_EQ(str(d->objectForKey("entities")), "a & b <c> \xc3\xa9\"");
    EXPECT_EQ(str(d->objectForKey("caf\xc3\xa9 \xc3\xbc")), "\xc3\xb1\x61nd\xc3\xba");

    CCDictionary* nested = dynamic_cast<CCDictionary*>(d->objectForKey("nested"));
    ASSERT_NE(nested, nullptr);
    CCArray* list = dynamic_cast<CCArray*>(nested->objectForKey("list"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3u);
    EXPECT_EQ(str(list->objectAtIndex(1)), "two");
    EXPECT_EQ(dynamic_cast<CCArray*>(list->objectAtIndex(2))->count(), 0u);
}

TEST_F(PlistFiles, ParsedDictionaryIteratesInFileOrderAndDuplicateKeepsFirstPlace)
{
    write("order.plist",
          plist("<dict><key>z</key><string>1</string><key>a</key><string>2</string>"
                "<key>z</key><string>3</string><key>m</key><string>4</string></dict>"));
    CCDictionary* d = CCDictionary::createWithContentsOfFile("order.plist");
    std::string seen;
    CCDictElement* el = nullptr;
    CCDICT_FOREACH(d, el)
    {
        seen += el->getStrKeyString() + str(el->getObject());
    }
    EXPECT_EQ(seen, "z3a2m4");
}

TEST_F(PlistFiles, BadFilesGiveEmptyContainersAndOneLogLine)
{
    write("malformed.plist", plist("<dict><key>a</key><string>x</dict>"));
    write("array_root.plist", plist("<array><string>x</string></array>"));
    write("dict_root.plist", plist("<dict><key>a</key><string>x</string></dict>"));
    write("binary.plist", std::string("bplist00\x01\x02", 10));
    write("empty.plist", "");

    for (const char* name : {"missing.plist", "malformed.plist", "array_root.plist", "binary.plist", "empty.plist"}) {
        testing::internal::CaptureStderr();
        CCDictionary* d = CCDictionary::createWithContentsOfFile(name);
        std::string err = testing::internal::GetCapturedStderr();
        ASSERT_NE(d, nullptr) << name;
        EXPECT_EQ(d->count(), 0u) << name;
        EXPECT_EQ(err.rfind("engine: ", 0), 0u) << name << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << name << ": " << err;
    }
    for (const char* name : {"missing.plist", "dict_root.plist", "malformed.plist"}) {
        testing::internal::CaptureStderr();
        CCArray* a = CCArray::createWithContentsOfFile(name);
        testing::internal::GetCapturedStderr();
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->count(), 0u) << name;
    }
    CCArray* good = CCArray::createWithContentsOfFile("array_root.plist");
    ASSERT_EQ(good->count(), 1u);
    EXPECT_EQ(str(good->objectAtIndex(0)), "x");
}

TEST_F(PlistFiles, UnknownElementsAndDanglingKeysAreSkipped)
{
    write("odd.plist",
          plist("<dict><key>a</key><thing>?</thing><key>b</key><string>kept</string>"
                "<key>c</key><key>d</key><integer>4</integer><key>tail</key></dict>"));
    testing::internal::CaptureStderr();
    CCDictionary* d = CCDictionary::createWithContentsOfFile("odd.plist");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(d->count(), 2u);
    EXPECT_EQ(str(d->objectForKey("b")), "kept");
    EXPECT_EQ(str(d->objectForKey("d")), "4");
    EXPECT_NE(err.find("unknown element <thing>"), std::string::npos) << err;
}

TEST_F(PlistFiles, ThreadSafeFormIsOwnedByTheCaller)
{
    write("catalogue.plist", plist("<dict><key>item</key><dict><key>price</key><string>100</string></dict></dict>"));
    CCPoolManager* pool = CCPoolManager::sharedPoolManager();
    pool->drain();
    CCDictionary* d = CCDictionary::createWithContentsOfFileThreadSafe("catalogue.plist");
    // No autorelease anywhere: a background thread never touches the pool.
    EXPECT_EQ(pool->pendingCount(), 0u);
    EXPECT_EQ(d->retainCount(), 1u);
    EXPECT_EQ(d->objectForKey("item")->retainCount(), 1u);
    d->release();

    testing::internal::CaptureStderr();
    CCDictionary* missing = CCDictionary::createWithContentsOfFileThreadSafe("nope.plist");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(pool->pendingCount(), 0u);
    EXPECT_EQ(missing->retainCount(), 1u);
    EXPECT_EQ(missing->count(), 0u);
    missing->release();
}

TEST_F(PlistFiles, HostileNestingIsBounded)
{
    std::string deep;
    for (int i = 0; i < 2000; ++i) {
        deep += "<array>";
    }
    for (int i = 0; i < 2000; ++i) {
        deep += "</array>";
    }
    write("deep.plist", plist(deep));
    testing::internal::CaptureStderr();
    CCArray* a = CCArray::createWithContentsOfFile("deep.plist");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(a->count(), 1u);
}
