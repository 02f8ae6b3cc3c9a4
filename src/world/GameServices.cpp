#include "world/GameServices.h"

GameServices& gameServices()
{
    static GameServices services;
    return services;
}
