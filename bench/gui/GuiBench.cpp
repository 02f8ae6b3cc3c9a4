// The GUI toolkit's benchmark: laying out a 1,000-byte wrapped text, and one
// frame of a 500-row sliding layer (a thumbnail and a 20-character label per
// row), headless and, for comparison, drawn by the software renderer.
//
//   gui_bench [--software] [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "support/BenchSupport.h"
#include "cocos2d.h"
#include "gui/GUILabel.h"
#include "gui/SlidingLayer.h"

USING_NS_CC;

namespace {

bool g_software = false;

std::string resourceFolder()
{
    if (const char* root = std::getenv("ENGINE_RESOURCES"))
        return root;
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "resources";
    std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/')) + "/resources";
}

// About 1,000 bytes of words with colour markup and a few accents.
CCString* longText()
{
    std::string text;
    const char* words[] = {"The",   "little", "[200,40,40]god|", "looks", "over",  "the",   "world,",
                           "where", "sand",   "falls",           "and",   "water", "flows", "\xC3\xA9t\xC3\xA9"};
    for (size_t i = 0; text.size() < 1000; ++i) {
        if (!text.empty())
            text += ' ';
        text += words[i % (sizeof words / sizeof *words)];
    }
    return CCString::create(text.substr(0, 1000));
}

// The director's test reset empties the frame cache: load before each run.
void loadSheets()
{
    for (const char* sheet : {"pvr/gamemenus.plist", "pvr/popups.plist"})
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(sheet);
}

void BM_wrappedText(benchmark::State& state)
{
    loadSheets();
    GUILabel::setFontName("popups_ach_colorFont");
    GUILabel* label = GUILabel::create();
    label->retain();
    CCString* text = longText();
    text->retain();
    for (auto _ : state) {
        label->setColoredText(text, 180);
        benchmark::DoNotOptimize(label->getLineCount());
    }
    state.counters["glyphs"] = static_cast<double>(label->getChildrenCount());
    state.counters["lines"] = label->getLineCount();
    text->release();
    label->release();
    CCPoolManager::sharedPoolManager()->drain();
}
BENCHMARK(BM_wrappedText)->Name("wrapped_text_1000_bytes")->Unit(benchmark::kMicrosecond);

void BM_slidingFrame(benchmark::State& state)
{
    CCDirector* director = CCDirector::sharedDirector();
    loadSheets();
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    CCScene* scene = CCScene::create();
    SlidingLayer* list = SlidingLayer::create(ccp(100, 50), CCSize(600, 500));
    for (int i = 0; i < 500; ++i) {
        CCSprite* thumbnail = CCSprite::createWithSpriteFrameName("gamemenus_brushSizeSlider.png");
        auto* row = CCMenuItemSprite::create(thumbnail, nullptr);
        row->setAnchorPoint(CCPointZero);
        row->setPosition(ccp(0, 480 - 24.0f * i));
        GUILabel* label = GUILabel::create();
        label->setText(CCString::createWithFormat("World number %07d", i));  // 20 characters
        label->setPosition(ccp(210, 4));
        row->addChild(label);
        list->addChild(row);
    }
    scene->addChild(list);
    director->runWithScene(scene);
    director->stepFrame(1.0f / 60);
    // Headless, the director draws nothing: walk the tree as drawing would.
    const bool draws = g_software;
    for (auto _ : state) {
        list->moveBy(0, 3);
        director->stepFrame(1.0f / 60);
        if (!draws)
            scene->visit();
    }
    state.counters["rows"] = 500;
    director->resetForTests();
}
BENCHMARK(BM_slidingFrame)->Name("sliding_layer_500_rows_frame")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    bool& software = g_software;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--software") == 0) {
            software = true;
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            break;
        }
    CCEGLView::setRunMode(software ? kCCRunModeSoftware : kCCRunModeHeadless);
    benchsupport::quietGameLog("gui_bench");
    CCEGLView::sharedOpenGLView();
    CCFileUtils::sharedFileUtils()->setResourceRoot(resourceFolder());
    return benchsupport::runBenchmarks(argc, argv);
}
