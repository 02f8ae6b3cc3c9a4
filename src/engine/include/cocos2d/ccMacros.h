#pragma once
// Namespace and ownership helpers shared by every engine header and by game code.

#define NS_CC_BEGIN namespace cocos2d {
#define NS_CC_END }
#define USING_NS_CC using namespace cocos2d

#define CC_SAFE_RETAIN(p)                                                                                              \
    do {                                                                                                               \
        if (p) {                                                                                                       \
            (p)->retain();                                                                                             \
        }                                                                                                              \
    } while (0)
#define CC_SAFE_RELEASE(p)                                                                                             \
    do {                                                                                                               \
        if (p) {                                                                                                       \
            (p)->release();                                                                                            \
        }                                                                                                              \
    } while (0)
#define CC_SAFE_RELEASE_NULL(p)                                                                                        \
    do {                                                                                                               \
        if (p) {                                                                                                       \
            (p)->release();                                                                                            \
            (p) = nullptr;                                                                                             \
        }                                                                                                              \
    } while (0)
#define CC_SAFE_DELETE(p)                                                                                              \
    do {                                                                                                               \
        delete (p);                                                                                                    \
        (p) = nullptr;                                                                                                 \
    } while (0)
#define CC_SAFE_DELETE_ARRAY(p)                                                                                        \
    do {                                                                                                               \
        delete[](p);                                                                                                   \
        (p) = nullptr;                                                                                                 \
    } while (0)
#define CC_BREAK_IF(cond)                                                                                              \
    if (cond)                                                                                                          \
    break
#define CC_UNUSED_PARAM(unusedparam) (void)(unusedparam)

// The usual "static T* create()" of a class with a bool init().
#define CREATE_FUNC(__TYPE__)                                                                                          \
    static __TYPE__* create()                                                                                          \
    {                                                                                                                  \
        __TYPE__* pRet = new __TYPE__();                                                                               \
        if (pRet->init()) {                                                                                            \
            pRet->autorelease();                                                                                       \
            return pRet;                                                                                               \
        }                                                                                                              \
        delete pRet;                                                                                                   \
        return nullptr;                                                                                                \
    }

#define CC_CONCAT_IMPL(a, b) a##b
#define CC_CONCAT(a, b) CC_CONCAT_IMPL(a, b)

#if defined(__GNUC__)
#define CC_FORMAT_PRINTF(fmtPos, argPos) __attribute__((format(printf, fmtPos, argPos)))
#else
#define CC_FORMAT_PRINTF(fmtPos, argPos)
#endif
