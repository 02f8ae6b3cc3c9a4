#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cocos2d.h"

USING_NS_CC;

namespace {

std::string text(CCObject* o)
{
    CCString* s = dynamic_cast<CCString*>(o);
    return s ? s->getString() : std::string("<not a string>");
}

class Containers : public ::testing::Test {
protected:
    void TearDown() override { CCPoolManager::sharedPoolManager()->drain(); }
};

}  // namespace

TEST_F(Containers, ArrayRemovesTheFirstOccurrenceByIdentity)
{
    CCString* a = CCString::create("same");
    CCString* b = CCString::create("same");  // equal text, another object
    CCArray* arr = CCArray::create(a, b, a, NULL);
    EXPECT_EQ(a->retainCount(), 3u);

    arr->removeObject(a);
    ASSERT_EQ(arr->count(), 2u);
    EXPECT_EQ(arr->objectAtIndex(0), b);
    EXPECT_EQ(arr->objectAtIndex(1), a);
    EXPECT_EQ(a->retainCount(), 2u);
    EXPECT_EQ(arr->indexOfObject(a), 1u);
    EXPECT_EQ(arr->indexOfObject(CCString::create("same")), CC_INVALID_INDEX);

    CCArray* other = CCArray::create(a, a, NULL);
    arr->removeObjectsInArray(other);
    EXPECT_EQ(arr->count(), 1u);
    EXPECT_FALSE(arr->containsObject(a));
}

TEST_F(Containers, ArrayEditingKeepsCountsAndIgnoresBadInput)
{
    CCArray* arr = CCArray::create();
    testing::internal::CaptureStderr();
    arr->addObject(nullptr);
    EXPECT_EQ(arr->objectAtIndex(0), nullptr);
    arr->removeObjectAtIndex(5);
    arr->replaceObjectAtIndex(0, CCString::create("x"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(arr->count(), 0u);
    EXPECT_NE(err.find("engine: CCArray::addObject: null object ignored\n"), std::string::npos);
    EXPECT_NE(err.find("engine: CCArray::objectAtIndex: index 0 out of range"), std::string::npos);

    CCString* first = CCString::create("1");
    CCString* second = CCString::create("2");
    arr->addObject(second);
    arr->insertObject(first, 0);
    EXPECT_EQ(text(arr->objectAtIndex(0)), "1");
    EXPECT_EQ(text(arr->lastObject()), "2");

    CCString* third = CCString::create("3");
    arr->replaceObjectAtIndex(1, third);
    EXPECT_EQ(second->retainCount(), 1u);
    EXPECT_EQ(third->retainCount(), 2u);

    // Replacing a member with itself must not free it on the way.
    arr->replaceObjectAtIndex(1, third);
    EXPECT_EQ(third->retainCount(), 2u);

    arr->removeLastObject();
    EXPECT_EQ(third->retainCount(), 1u);
    arr->removeAllObjects();
    EXPECT_EQ(arr->count(), 0u);
    EXPECT_EQ(arr->lastObject(), nullptr);
    arr->removeLastObject();  // harmless when empty
}

TEST_F(Containers, ArrayReleasesMembersOnDestruction)
{
    CCString* s = new CCString("held");
    CCArray* arr = new CCArray();
    arr->addObject(s);
    arr->addObject(s);
    EXPECT_EQ(s->retainCount(), 3u);
    arr->release();
    EXPECT_EQ(s->retainCount(), 1u);
    s->release();
}

TEST_F(Containers, ForeachWalksTheLiveArrayBothWays)
{
    CCArray* arr = CCArray::create();
    for (const char* t : {"a", "b", "c", "d"}) {
        arr->addObject(CCString::create(t));
    }
    std::string seen;
    CCObject* obj = nullptr;
    CCARRAY_FOREACH(arr, obj)
    {
        seen += text(obj);
        if (text(obj) == "a") {
            arr->addObject(CCString::create("e"));  // appended members are reached
        }
    }
    EXPECT_EQ(seen, "abcde");

    seen.clear();
    CCARRAY_FOREACH_REVERSE(arr, obj)
    {
        seen += text(obj);
        arr->removeObject(obj);  // the usual "remove while walking backwards"
    }
    EXPECT_EQ(seen, "edcba");
    EXPECT_EQ(arr->count(), 0u);

    CCArray* none = nullptr;
    int visits = 0;
    CCARRAY_FOREACH(none, obj)
    {
        ++visits;
    }
    CCARRAY_FOREACH_REVERSE(none, obj)
    {
        ++visits;
    }
    EXPECT_EQ(visits, 0);

    arr->addObject(CCString::create("x"));
    arr->addObject(CCString::create("y"));
    seen.clear();
    for (CCObject* o : *arr) {
        seen += text(o);
    }
    EXPECT_EQ(seen, "xy");
}

TEST_F(Containers, DictionaryKeepsInsertionOrderAndFirstPosition)
{
    CCDictionary* dict = CCDictionary::create();
    dict->setObject(CCString::create("1"), "zeta");
    dict->setObject(CCString::create("2"), "alpha");
    dict->setObject(CCString::create("3"), "mid");
    CCString* old = new CCString("old");
    dict->setObject(old, "beta");
    EXPECT_EQ(old->retainCount(), 2u);
    dict->setObject(CCString::create("new"), "beta");
    EXPECT_EQ(old->retainCount(), 1u);  // the dictionary let go of it
    old->release();
    dict->setObject(CCString::create("4"), "zeta");  // replaced in place

    std::string order;
    CCDictElement* el = nullptr;
    CCDICT_FOREACH(dict, el)
    {
        order += std::string(el->getStrKey()) + "=" + text(el->getObject()) + ";";
    }
    EXPECT_EQ(order, "zeta=4;alpha=2;mid=3;beta=new;");

    CCArray* keys = dict->allKeys();
    ASSERT_EQ(keys->count(), 4u);
    EXPECT_EQ(text(keys->objectAtIndex(3)), "beta");
    EXPECT_EQ(CCDictionary::create()->allKeys()->count(), 0u);

    // Removing the element in hand does not skip the next one.
    order.clear();
    CCDICT_FOREACH(dict, el)
    {
        order += el->getStrKeyString();
        if (order == "zeta" || el->getStrKeyString() == "mid") {
            dict->removeObjectForKey(el->getStrKeyString());
        }
    }
    EXPECT_EQ(order, "zetaalphamidbeta");
    EXPECT_EQ(dict->count(), 2u);
    EXPECT_EQ(dict->objectForKey("zeta"), nullptr);
    EXPECT_NE(dict->objectForKey("beta"), nullptr);
}

TEST_F(Containers, ValueForKeyIsNeverNull)
{
    CCDictionary* dict = CCDictionary::create();
    dict->setObject(CCInteger::create(7), "number");
    dict->setObject(CCString::create("12"), "price");
    CCString* missing = dict->valueForKey("absent");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getString(), "");
    CCString* notString = dict->valueForKey("number");
    ASSERT_NE(notString, nullptr);
    EXPECT_EQ(notString->intValue(), 0);
    EXPECT_EQ(dict->valueForKey("price")->intValue(), 12);
    // Byte-wise: no case folding, no trimming.
    EXPECT_EQ(dict->objectForKey("Price"), nullptr);
    EXPECT_EQ(dict->objectForKey("price "), nullptr);
}

TEST_F(Containers, ADictionaryStampChangesWithEveryChangeAndIsNeverShared)
{
    CCDictionary* a = CCDictionary::create();
    CCDictionary* b = CCDictionary::create();
    EXPECT_NE(a->stamp(), b->stamp());
    uint64_t last = a->stamp();
    const std::function<void()> changes[] = {
        [&] { a->setObject(CCInteger::create(1), "k"); },
        [&] { a->setObject(CCInteger::create(2), "k"); },  // replaced in place
        [&] { a->removeObjectForKey("k"); },
        [&] { a->setObject(CCInteger::create(3), "j"); },
        [&] { a->removeAllObjects(); },
    };
    for (const auto& change : changes) {
        change();
        EXPECT_NE(a->stamp(), last);
        last = a->stamp();
    }
    // Reading, or asking to remove what is not there, changes nothing.
    a->objectForKey("j");
    a->removeObjectForKey("absent");
    a->setObject(nullptr, "null");
    EXPECT_EQ(a->stamp(), last);
}

TEST_F(Containers, SetIgnoresDuplicatesAndIteratesInInsertionOrder)
{
    CCSet* set = CCSet::create();
    EXPECT_EQ(set->anyObject(), nullptr);
    CCString* c = CCString::create("c");
    CCString* a = CCString::create("a");
    CCString* b = CCString::create("b");
    set->addObject(c);
    set->addObject(a);
    set->addObject(c);
    set->addObject(b);
    EXPECT_EQ(set->count(), 3u);
    EXPECT_EQ(c->retainCount(), 2u);
    EXPECT_EQ(set->anyObject(), c);
    std::string order;
    for (CCSetIterator it = set->begin(); it != set->end(); ++it) {
        order += text(*it);
    }
    EXPECT_EQ(order, "cab");
    set->removeObject(c);
    EXPECT_EQ(c->retainCount(), 1u);
    EXPECT_EQ(set->anyObject(), a);
    EXPECT_FALSE(set->containsObject(CCString::create("a")));  // identity, not text
}

TEST(Strings, IntValueFollowsAtoi)
{
    struct Case {
        const char* in;
        int out;
    };
    for (Case c : {Case{"42", 42}, Case{"  -7", -7}, Case{"+3", 3}, Case{"12.5", 12}, Case{"abc", 0}, Case{"", 0},
                   Case{"9x", 9}, Case{"- 5", 0}, Case{"\t\n15", 15}, Case{"99999999999999999999", 2147483647},
                   Case{"-99999999999999999999", -2147483647 - 1}}) {
        EXPECT_EQ(CCString::create(c.in)->intValue(), c.out) << '"' << c.in << '"';
    }
    EXPECT_EQ(CCString::create("-1")->uintValue(), 0u);
    EXPECT_EQ(CCString::create("4000000000")->uintValue(), 4000000000u);
    CCPoolManager::sharedPoolManager()->drain();
}

TEST(Strings, BoolFloatCompareAndFormat)
{
    for (const char* f : {"", "0", "false"}) {
        EXPECT_FALSE(CCString::create(f)->boolValue()) << f;
    }
    for (const char* t : {"1", "true", "yes", "00", " 0", "FALSE", "2"}) {
        EXPECT_TRUE(CCString::create(t)->boolValue()) << t;
    }
    EXPECT_FLOAT_EQ(CCString::create(" 1.50")->floatValue(), 1.5f);
    EXPECT_DOUBLE_EQ(CCString::create("-2.25e1abc")->doubleValue(), -22.5);
    EXPECT_DOUBLE_EQ(CCString::create("x1")->doubleValue(), 0.0);

    CCString* s = CCString::create("abc");
    EXPECT_EQ(s->compare("abc"), 0);
    EXPECT_LT(s->compare("abd"), 0);
    EXPECT_GT(s->compare(""), 0);
    EXPECT_TRUE(s->isEqual(CCString::create("abc")));
    EXPECT_FALSE(s->isEqual(CCInteger::create(0)));
    const char* none = nullptr;
    EXPECT_EQ(CCString::create(none)->getString(), "") << "a null text is empty, not a crash";

    std::string longText(5000, 'q');
    CCString* f = CCString::createWithFormat("%ld mana, %s", 1234567L, longText.c_str());
    EXPECT_EQ(f->length(), 5000u + 14u);
    EXPECT_EQ(f->getString().substr(0, 12), "1234567 mana");
    CCPoolManager::sharedPoolManager()->drain();
}

TEST(Geometry, RectAndPointParsing)
{
    CCRect r = CCRectFromString("{{1,2},{30,40}}");
    EXPECT_TRUE(r.equals(CCRect(1, 2, 30, 40)));
    r = CCRectFromString(" { { 1.5 , -2 } , { 3e1, +4.25 } } ");
    EXPECT_TRUE(r.equals(CCRect(1.5f, -2, 30, 4.25f)));
    for (const char* bad : {"", "{{1,2},{3}}", "{1,2,3,4}", "{{1,2},{3,4}", "{{1,2},{3,4}}x", "{{a,2},{3,4}}"}) {
        EXPECT_TRUE(CCRectFromString(bad).equals(CCRectZero)) << bad;
    }
    EXPECT_TRUE(CCRectFromString(nullptr).equals(CCRectZero));
    EXPECT_TRUE(CCPointFromString("{ 5, 6 }").equals(ccp(5, 6)));
    EXPECT_TRUE(CCPointFromString("{5}").equals(CCPointZero));
    EXPECT_TRUE(CCSizeFromString("{800,600}").equals(CCSize(800, 600)));
}

TEST(Geometry, RectEdgesClampAndPointMath)
{
    CCRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.containsPoint(ccp(10, 20)));
    EXPECT_TRUE(r.containsPoint(ccp(40, 60)));
    EXPECT_FALSE(r.containsPoint(ccp(40.01f, 60)));
    EXPECT_FLOAT_EQ(r.getMidX(), 25);
    EXPECT_FLOAT_EQ(r.getMaxY(), 60);
    EXPECT_TRUE(r.intersectsRect(CCRect(40, 60, 5, 5)));  // touching corners
    EXPECT_FALSE(r.intersectsRect(CCRect(41, 0, 5, 5)));

    EXPECT_EQ(clampf(5, 0, 10), 5);
    EXPECT_EQ(clampf(-1, 10, 0), 0);  // limits in either order
    EXPECT_EQ(clampf(11, 10, 0), 10);

    EXPECT_FLOAT_EQ(ccpDistance(ccp(1, 1), ccp(4, 5)), 5);
    EXPECT_FLOAT_EQ(ccpLengthSQ(ccp(3, 4)), 25);
    EXPECT_TRUE(ccpMult(ccpSub(ccp(3, 4), ccp(1, 1)), 2).equals(ccp(4, 6)));
}
