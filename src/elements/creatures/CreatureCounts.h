#pragma once
// Live counts of the creatures and vehicles whose painting is limited. Each
// class keeps its own: its constructor adds one, its destructor takes one
// away.
#include <cstdint>

struct CreatureCounts {
    static inline int32_t robots = 0;
    static inline int32_t trucks = 0;
    static inline int32_t cars = 0;  // every MPLeaderCar object, of every car kind
    static inline int32_t tanks = 0;
    static inline int32_t sportCars = 0;
    static inline int32_t landers = 0;
    static inline int32_t lions = 0;      // LionLeader
    static inline int32_t flamingos = 0;  // kept by the flock code
};
