// The shop's benchmark: rebuilding the elements page (104 rows, each a bar,
// a hit area, a picture, a title and a buy tag), headless, over a bare scene
// in free play. Reports the median rebuild in milliseconds.
//
//   shop_bench [benchmark options]
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchCompare.h"
#include "support/BenchSupport.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "cocos2d.h"
#include "hud/PixelMarket.h"
#include "scene/SaveLoadUtils.h"
#include "screens/GameWiring.h"

USING_NS_CC;

namespace {

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

void BM_elementsPage(benchmark::State& state)
{
    // Free play: every element is listed.
    installGameHost();
    SaveLoadUtils::setFreePlay(true);
    CCDirector* director = CCDirector::sharedDirector();
    computeScreenMetrics(CCSize(800, 600));
    CCScene* scene = CCScene::create();
    director->runWithScene(scene);
    director->stepFrame(1.0f / 60);
    PixelMarket* shop = PixelMarket::getInstance();
    shop->initWithSize(director->getWinSize());
    shop->setPosition(CCPointZero);
    shop->setVisible(true);
    scene->addChild(shop);
    shop->showCategoryPage(0);
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        shop->showCategoryPage(0);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        ms.push_back(took.count());
        state.PauseTiming();
        CCPoolManager::sharedPoolManager()->drain();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(shop->pageRows().size());
    state.counters["median_ms"] = benchcompare::median(ms);
    PixelMarket::resetInstanceForTests();
    director->resetForTests();
}
BENCHMARK(BM_elementsPage)->Name("shop_elements_page")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    CCEGLView::setRunMode(kCCRunModeHeadless);
    benchsupport::quietGameLog("shop_bench");
    CCEGLView::sharedOpenGLView();
    CCFileUtils::sharedFileUtils()->setResourceRoot(resourceFolder());
    resourceRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
    return benchsupport::runBenchmarks(argc, argv);
}
