#include "WorldFixture.h"

#include "support/LogCapture.h"

using namespace worldtest;
USING_NS_CC;

namespace {

class TestPachy : public TestElement {
public:
    TestPachy() : TestElement(hashString("Pachy"), 0, 0) { }
};
class TestTnt : public TestElement {
public:
    TestTnt() : TestElement(hashString("Tnt"), 0, 0) { }
};
class TestLaserTransmitter : public TestElement {
public:
    TestLaserTransmitter() : TestElement(hashString("LaserTrans"), 0, 0) { }
};

int createdFlag(const char* name)
{
    CCDictionary* created = ParticleCreator::getElementsCreated();
    if (!created)
        return -1;
    CCInteger* value = dynamic_cast<CCInteger*>(created->objectForKey(name));
    return value ? value->getValue() : -1;
}

class ParticleCreatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestElements();
        ParticleCreator::registerClass<TestPachy>("Pachy");
        ParticleCreator::registerClass<TestPachy>("Pachycephalosaurus");
        ParticleCreator::registerClass<TestTnt>("Tnt");
        ParticleCreator::registerClass<TestLaserTransmitter>("LaserTrans");
        ParticleCreator::registerClass<TestLaserTransmitter>("LaserTransmitter");
        ParticleCreator::resetElementsCreated();
    }
    void TearDown() override { cocos2d::CCPoolManager::sharedPoolManager()->drain(); }
};

}  // namespace

TEST_F(ParticleCreatorTest, AliasesMakeOneClass)
{
    std::unique_ptr<Particle> a(ParticleCreator::createByName("Pachycephalosaurus"));
    std::unique_ptr<Particle> b(ParticleCreator::createByName("Pachy"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->getType(), hashString("Pachy"));
    EXPECT_EQ(b->getType(), hashString("Pachy"));
    EXPECT_EQ(ParticleCreator::getName(hashString("Pachycephalosaurus")), "Pachy");
    EXPECT_EQ(ParticleCreator::getName(hashString("Pachy")), "Pachy");
}

TEST_F(ParticleCreatorTest, LaserTransmitterMarksTheNameTableEntry)
{
    std::unique_ptr<Particle> byLong(ParticleCreator::createByName("LaserTransmitter"));
    ASSERT_TRUE(byLong);
    EXPECT_EQ(createdFlag("N/A"), 1);
    EXPECT_EQ(createdFlag("LaserTransmitter"), -1);
    std::unique_ptr<Particle> byShort(ParticleCreator::createByName("LaserTrans"));
    ASSERT_TRUE(byShort);
    EXPECT_EQ(createdFlag("LaserTransmitter"), 1);
    EXPECT_EQ(createdFlag("LaserTrans"), 0);
}

TEST_F(ParticleCreatorTest, TntIsKnownOnlyByItsOwnSpelling)
{
    testsupport::LogCapture log;
    EXPECT_EQ(ParticleCreator::createByName("TNT"), nullptr);
    EXPECT_TRUE(log.contains("Tried to load an unexisting type of particle"));
    EXPECT_TRUE(log.contains("Tried to load  TNT  particle"));
    std::unique_ptr<Particle> tnt(ParticleCreator::createByName("Tnt"));
    ASSERT_TRUE(tnt);
    EXPECT_EQ(ParticleCreator::getName(hashString("Tnt")), "TNT");
    EXPECT_EQ(createdFlag("TNT"), 1);
}

TEST_F(ParticleCreatorTest, TheBaseClassIdHasItsOwnMessage)
{
    testsupport::LogCapture log;
    EXPECT_EQ(ParticleCreator::createById(666), nullptr);
    EXPECT_TRUE(log.contains("Tried to load a particle of type Particle! Like OMG, right!?!?!"));
    EXPECT_FALSE(log.contains("unexisting"));
}

TEST_F(ParticleCreatorTest, CreateAtPlacesAndReportsFailuresTwice)
{
    std::unique_ptr<Particle> p(ParticleCreator::createAt(kSand, 7, 9));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 7);
    EXPECT_EQ(p->y, 9);
    EXPECT_EQ(p->id, -1);

    testsupport::LogCapture log;
    EXPECT_EQ(ParticleCreator::createAt(12345u, 1, 1), nullptr);
    EXPECT_TRUE(log.contains("unexisting type of particle  12345"));
    EXPECT_TRUE(log.contains("Tried to load  12345   N/A  particle"));
}

TEST_F(ParticleCreatorTest, KnownNamesWithoutABuiltClassAreRefused)
{
    EXPECT_TRUE(ParticleCreator::isAccepted(hashString("Bee")));
    EXPECT_FALSE(ParticleCreator::isBuilt(hashString("Bee")));
    testsupport::LogCapture log;
    EXPECT_EQ(ParticleCreator::createByName("Bee"), nullptr);
    EXPECT_TRUE(log.contains("Tried to load  Bee  particle"));
    EXPECT_TRUE(log.contains("Element class not registered: Bee"));
    EXPECT_FALSE(log.contains("unexisting"));
    EXPECT_EQ(createdFlag("Bee"), 1);  // marked before the class is looked for
    EXPECT_FALSE(ParticleCreator::registerMaker("NotAnElement", nullptr));
}

TEST_F(ParticleCreatorTest, NameTableExceptions)
{
    EXPECT_EQ(ParticleCreator::getName(hashString("RobotLeader")), "HumanLeader");
    EXPECT_EQ(ParticleCreator::getName(hashString("RobotPart")), "HumanPart");
    EXPECT_EQ(ParticleCreator::getName(hashString("LaserTrans")), "LaserTransmitter");
    for (const char* name : {"LaserTransmitter", "LionPart", "SeedHouse", "SeedChichenItza", "SeedPisa", "SeedEiffel",
                             "SeedPyramid", "SeedPagoda", "SeedPier"})
        EXPECT_EQ(ParticleCreator::getName(hashString(name)), "N/A") << name;
    EXPECT_EQ(ParticleCreator::getName(hashString("Aluminite")), "Aluminite");
    EXPECT_EQ(ParticleCreator::getName(hashString("Nothing")), "N/A");
}

TEST_F(ParticleCreatorTest, ResetListHolds147NamesAndCreationsFlipThemToOne)
{
    CCDictionary* created = ParticleCreator::getElementsCreated();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->count(), 147u);
    EXPECT_EQ(createdFlag("Glass"), 0);
    EXPECT_EQ(createdFlag("TNT"), 0);
    EXPECT_EQ(createdFlag("LionLeader"), -1);
    std::unique_ptr<Particle> glass(ParticleCreator::createByName("Glass"));
    std::unique_ptr<Particle> again(ParticleCreator::createByName("Glass"));
    EXPECT_EQ(createdFlag("Glass"), 1);
    ParticleCreator::resetElementsCreated();
    EXPECT_EQ(createdFlag("Glass"), 0);
    std::unique_ptr<Particle> third(ParticleCreator::createByName("Glass"));
    EXPECT_EQ(createdFlag("Glass"), 1);
    // A 0 stored by a reader of the record, or the name taken out: the next
    // creation marks it again.
    ParticleCreator::getElementsCreated()->setObject(CCInteger::create(0), "Glass");
    std::unique_ptr<Particle> fourth(ParticleCreator::createByName("Glass"));
    EXPECT_EQ(createdFlag("Glass"), 1);
    ParticleCreator::getElementsCreated()->removeObjectForKey("Glass");
    std::unique_ptr<Particle> fifth(ParticleCreator::createByName("Glass"));
    EXPECT_EQ(createdFlag("Glass"), 1);
}

TEST_F(ParticleCreatorTest, TheSentinelIsAlwaysBuilt)
{
    ParticleCreator::clearRegistrations();
    std::unique_ptr<Particle> wall(ParticleCreator::createOutsideWall());
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->getType(), hashString("OutsideWall"));
    EXPECT_EQ(wall->getBlastFactor(), 0.0f);
    EXPECT_EQ(wall->getDensity(), 0);
    EXPECT_EQ(wall->lightAbsorption, 0);
    initColorsAndShadows();
    std::unique_ptr<Particle> coloured(ParticleCreator::createOutsideWall());
    const ccColor4B row42 = colorOfRow(42);
    EXPECT_EQ(coloured->color.r, row42.r);
    EXPECT_EQ(coloured->color.g, row42.g);
}
