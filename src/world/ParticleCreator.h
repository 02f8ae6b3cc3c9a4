#pragma once
// ParticleCreator: the one place element objects are made, by type id or by
// type name. It accepts exactly the game's 175 type names (171 classes); each
// element family registers the constructors of its classes with one explicit
// call (see registerAllElements). A known name whose class is not registered
// is refused like an unknown one, with a line that says so. It also keeps
// elementsCreated, the record of which element names were made since the last
// reset (0/1 flags).
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "world/Particle.h"

class ParticleCreator {
public:
    using Maker = Particle* (*)();

    static constexpr uint32_t kParticleTypeId = 666;  // the base class: never made
    static constexpr int kAcceptedNames = 175;

    // Marks the name, makes the element at (0, 0) without placing it; null and
    // a log line for an id that is not accepted or not registered.
    static Particle* createById(uint32_t typeId);
    // Makes the element without marking its name and past any creature cap,
    // for a look at what the kind is (its save size, its colour): nothing of
    // the game's records changes. Null for a kind that is not built.
    static Particle* createUnrecorded(uint32_t typeId);
    // createById, then setPosition(x, y); an error line on failure.
    static Particle* createAt(uint32_t typeId, int x, int y);
    // Hashes the name (up to its terminating zero) and calls createById.
    static Particle* createByName(const char* name);
    // The border sentinel: createAt("OutsideWall", 0, 0).
    static Particle* createOutsideWall();
    // The name table: the accepted name, with the game's exceptions; "N/A"
    // for ids that are not accepted.
    static std::string getName(uint32_t typeId);
    // Replaces elementsCreated by a new dictionary holding 0 under each name
    // of the reset list.
    static void resetElementsCreated();
    // The record (null before the first reset or creation).
    static cocos2d::CCDictionary* getElementsCreated();

    // Every accepted name, in the factory's order.
    static std::vector<std::string> acceptedNames();
    // Whether the factory accepts the id, and whether its class is registered.
    static bool isAccepted(uint32_t typeId);
    static bool isBuilt(uint32_t typeId);

    // Registration, one call per element class and accepted name (a class made
    // under two names registers twice). Refuses (false, log line) a name that
    // is not among the accepted ones. A second registration replaces the first.
    static bool registerMaker(const char* typeName, Maker maker);
    template <class T> static bool registerClass(const char* typeName)
    {
        return registerMaker(typeName, []() -> Particle* { return new T(); });
    }
    // Forgets every registration except the built-in OutsideWall (tests).
    static void clearRegistrations();

    // Makers of capped creatures refuse while their cap is reached, unless a
    // CapsLifted lives: a saved world is measured while the running one may
    // be at its caps, and the load replaces those creatures anyway.
    struct CapsLifted {
        CapsLifted() { ++depth; }
        ~CapsLifted() { --depth; }
        CapsLifted(const CapsLifted&) = delete;
        CapsLifted& operator=(const CapsLifted&) = delete;
        static inline int depth = 0;
    };
    static bool capsLifted() { return CapsLifted::depth > 0; }
};

// Registers every element family that is built so far. Each family file
// provides one registration function (e.g. registerPowders) and adds its call
// to world/ElementRegistry.cpp. The factory calls it on its first use; calling
// it again is harmless.
void registerAllElements();
