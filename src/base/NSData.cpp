#include "base/NSData.h"

#include "base/Logger.h"

#include <cstdio>
#include <cstring>
#include <new>

USING_NS_CC;

namespace {

struct FileHandle {
    FILE* stream = nullptr;
    bool opened = false;
};

FileHandle* openFile(const std::string& path, const char* mode)
{
    FILE* stream = std::fopen(path.c_str(), mode);
    if (!stream) {
        Logger(22).setLevel(2) << "Failed to open file: " << path;
        return nullptr;
    }
    return new FileHandle{stream, true};
}

long fileSize(FileHandle* handle)
{
    if (!handle || !handle->opened)
        return 0;
    long position = std::ftell(handle->stream);
    std::fseek(handle->stream, 0, SEEK_END);
    long size = std::ftell(handle->stream);
    std::fseek(handle->stream, position, SEEK_SET);
    return size < 0 ? 0 : size;
}

void closeFile(FileHandle* handle)
{
    if (!handle)
        return;
    if (handle->opened)
        std::fclose(handle->stream);
    delete handle;
}

}  // namespace

NSData::~NSData()
{
    if (!doesNotOwn)
        delete[] bytes;
    bytes = nullptr;
    length = 0;
}

NSData* NSData::dataWithContentsOfFile(const std::string& path)
{
    FileHandle* file = openFile(path, "rb");
    if (!file)
        return nullptr;
    NSData* data = new NSData();
    long size = fileSize(file);
    if (static_cast<unsigned long>(size) > 0xFFFFFFFFul) {
        Logger(151).setLevel(2) << "memory didn't allocated ";
        delete data;
        closeFile(file);
        return nullptr;
    }
    data->bytes = new (std::nothrow) unsigned char[static_cast<size_t>(size) > 0 ? static_cast<size_t>(size) : 1];
    if (!data->bytes) {
        Logger(151).setLevel(2) << "memory didn't allocated ";
        delete data;
        closeFile(file);
        return nullptr;
    }
    size_t offset = 0;
    while (!std::feof(file->stream) && offset < static_cast<size_t>(size)) {
        size_t wanted = static_cast<size_t>(size) - offset;
        size_t got = std::fread(data->bytes + offset, 1, wanted, file->stream);
        if (got < wanted && std::ferror(file->stream)) {
            Logger(163).setLevel(2) << "ERROR OCCURED!";
            delete data;
            data = nullptr;
            break;
        }
        offset += got;
        if (got == 0)
            break;
    }
    // A file that shrank while it was read holds only what was read.
    if (data)
        data->length = static_cast<uint32_t>(offset);
    closeFile(file);
    if (data)
        data->autorelease();
    return data;
}

NSData* NSData::dataWithResourceFile(const std::string& path)
{
    unsigned long size = 0;
    unsigned char* buffer = CCFileUtils::sharedFileUtils()->getFileData(path.c_str(), "rb", &size);
    if (!buffer) {
        Logger(186).setLevel(2) << "read data is null";
        return nullptr;
    }
    if (size > 0xFFFFFFFFul) {
        Logger(186).setLevel(2) << "read data is null";
        delete[] buffer;
        return nullptr;
    }
    NSData* data = new NSData();
    data->bytes = buffer;
    data->length = static_cast<uint32_t>(size);
    data->autorelease();
    return data;
}

NSData* NSData::dataWithBytes(const void* bytes, uint32_t length)
{
    if (!bytes || length == 0) {
        Logger(197).setLevel(2) << "creating NSData with empty data field";
        return nullptr;
    }
    NSData* data = new NSData();
    data->bytes = new (std::nothrow) unsigned char[length];
    if (!data->bytes) {
        Logger(205).setLevel(2) << "created data buffer is null ";
        delete data;
        return nullptr;
    }
    std::memcpy(data->bytes, bytes, length);
    data->length = length;
    data->autorelease();
    return data;
}

NSData* NSData::dataWithBytesNoCopy(void* bytes, uint32_t length)
{
    if (!bytes || length == 0) {
        Logger(219).setLevel(2) << "creating NSData with empty data field";
        return nullptr;
    }
    NSData* data = new NSData();
    data->doesNotOwn = true;
    data->bytes = static_cast<unsigned char*>(bytes);
    data->length = length;
    data->autorelease();
    return data;
}

bool NSData::writeToFile(NSData* data, const std::string& path)
{
    // Checked before the open: opening with "wb" would already have emptied
    // an existing file that this call then refuses to write.
    if (!data || !data->bytes) {
        Logger(283).setLevel(2) << "trying to write empty buffer ";
        return false;
    }
    FileHandle* file = openFile(path, "wb");
    if (!file) {
        Logger(277).setLevel(2) << "can't open file " << path;
        return false;
    }
    size_t offset = 0;
    while (offset < data->length) {
        size_t wanted = data->length - offset;
        size_t written = std::fwrite(data->bytes + offset, 1, wanted, file->stream);
        if (written < wanted && (std::ferror(file->stream) || written == 0)) {
            Logger(292).setLevel(2) << "ERROR OCCURED!";
            closeFile(file);
            std::remove(path.c_str());
            return false;
        }
        offset += written;
    }
    // Buffered bytes reach the disk at close: a failing close is a failed write.
    bool closed = std::fclose(file->stream) == 0;
    file->opened = false;
    closeFile(file);
    if (!closed) {
        Logger(292).setLevel(2) << "ERROR OCCURED!";
        std::remove(path.c_str());
        return false;
    }
    return true;
}
