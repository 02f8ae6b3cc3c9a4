#include "world/GameServices.h"

GameServices& gameServices()
{
    static GameServices services;
    return services;
}

bool readStoreFile(const std::string& name, std::string& bytes)
{
    GameServices& s = gameServices();
    const int32_t size = s.fileExists(name) ? s.getFileSize(name) : -1;
    if (size < 0)
        return false;
    bytes.assign(static_cast<size_t>(size), '\0');
    return size == 0 || s.fileRead(name, bytes.data(), size) == size;
}
