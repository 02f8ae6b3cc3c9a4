#pragma once
// Blueprint: grows a picture into the world, one particle per step. It is read
// from a folder of the asset tree holding a stage list ("specs.plist") and one
// image per stage ("0.png", "1.png", ...), or a "randomVars.plist" naming how
// many variant subfolders ("0", "1", ...) it holds. Each stage names the
// element its opaque pixels become (or "Clear": the stage erases) and the
// order of placing them. Every placed particle takes its pixel's colour.
//
// The image's bottom row stands on row originY and its middle about column
// originX; a flipped blueprint builds the mirror image over the same cells.
// With checkSpace on the blueprint first tests for ground and room, and a
// placement that meets a kind it may not overwrite stops the build.
//
// Stage pictures are kept in main memory only. A folder that cannot be read
// in part (a missing or broken stage) leaves that stage out; one that cannot
// be read at all gives an empty blueprint, which finishes at its first step.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "elements/living/blueprint/BuilderBehaviour.h"

class Particle;

class Blueprint {
public:
    // Shared by every blueprint of every randomVars folder: the next variant.
    static int variantCounter;

    // Sounds are names under "sounds" (null for none). The owner is the seed
    // that carries the blueprint: a placement never overwrites it.
    Blueprint(const char* startSound, const char* endSound, const char* folder, int x, int y, bool checkSpace,
              const Particle* owner = nullptr);
    // No end sound, checkSpace on.
    Blueprint(cocos2d::CCString* startSound, cocos2d::CCString* folder, int x, int y, const Particle* owner = nullptr);
    ~Blueprint();
    Blueprint(const Blueprint&) = delete;
    Blueprint& operator=(const Blueprint&) = delete;

    // One build step: places one particle. True once the blueprint is
    // finished (all stages done, blocked, or empty).
    bool step();

    struct Image {
        int width = 0;
        int height = 0;
        std::vector<cocos2d::ccColor4B> pixels;  // rows top first
        cocos2d::ccColor4B at(int column, int rowFromTop) const
        {
            return pixels[static_cast<size_t>(rowFromTop) * static_cast<size_t>(width) + static_cast<size_t>(column)];
        }
    };
    struct Stage {
        std::string element;
        uint32_t typeId = 0;
        bool clear = false;
        std::string behaviour;
        Image image;
        bool toldMissing = false;  // the factory cannot make the element: said once
    };

    bool isEmpty() const { return stages.empty(); }
    bool isBlocked() const { return blocked; }
    bool isFlipped() const { return flipped; }
    int stageCount() const { return static_cast<int>(stages.size()); }
    const std::vector<uint32_t>& replaceableKinds() const { return replaceable; }

private:
    void load(const std::string& folder);
    bool readStages(const std::string& folder);
    void startStage();
    void buildReplaceableList();
    bool hasGround() const;
    bool areaIsFree() const;
    // The world cell of a cursor position of a stage, and the pixel there.
    int worldX(const Stage& s, int cx) const;
    cocos2d::ccColor4B pixelAt(const Stage& s, int cx, int cy) const;
    bool mayOverwrite(const Particle* occupant) const;
    bool placeOne();
    void finish();
    static void playSound(const std::string& name);

    std::vector<Stage> stages;
    std::vector<uint32_t> replaceable;
    bool blocked = false;
    bool checkSpace;
    int originX;
    int originY;
    bool flipped = false;
    int stage = 0;
    std::unique_ptr<BuilderBehaviour> behaviour;
    std::string endSound;  // empty: none
    const Particle* owner;
};
