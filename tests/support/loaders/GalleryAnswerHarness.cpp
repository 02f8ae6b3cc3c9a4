// The gallery's answers as the game reads them: every reader either refuses
// a body or gives values inside the ranges the gallery relies on, and the
// server's error words come out as one short line.
#include "online/GalleryAnswers.h"
#include "support/loaders/LoaderHarness.h"

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

std::string checkWorld(const GalleryWorld& w)
{
    if (w.id < 1 || w.authorId < 1 || w.ratings < 0 || w.downloads < 0 || w.myRating < -1 || w.myRating > 5)
        return "a world's number out of range";
    if (!(w.rating >= 0.0 && w.rating <= 5.0))
        return "a world's rating out of range";
    if (w.name.size() > 64 || w.author.size() > 64 || w.date.size() > 64 || w.description.size() > 1024)
        return "a world's text too long";
    return "";
}

class GalleryAnswerHarness : public Harness {
public:
    const char* name() const override { return "gallery answer"; }

    std::vector<Bytes> seeds() override
    {
        const std::string world =
            R"({"id":3,"name":"Islands","author":"Ann","author_id":7,"date":"2026-12-08T14:27:47Z","rating":4.5,"ratings":2,"downloads":9)";
        std::vector<Bytes> out;
        for (const std::string& text : std::vector<std::string>{
                 R"({"count":12})",
                 R"({"count":1,"order":"rating","offset":0,"limit":20,"worlds":[)" + world + "}]}",
                 world + R"(,"description":"Two islands","my_rating":4})",
                 std::string(R"({"id":3,"deleted":true})"),
                 std::string(R"({"rating":3.67,"ratings":3})"),
                 std::string(R"({"rating":0.5,"ratings":2})"),  // no average of whole stars
                 std::string(R"({"error":"no such world"})"),
                 std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
             })
            out.emplace_back(text.begin(), text.end());
        return out;
    }

protected:
    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const std::string body(reinterpret_cast<const char*>(data), size);
        std::string why;
        int32_t number = -1;
        if (galleryanswer::readCount(body, number, why) && number < 0)
            return "a negative count";
        GalleryPage page;
        if (galleryanswer::readPage(body, page, why)) {
            if (page.count < 0 || page.offset < 0 || page.worlds.size() > galleryanswer::kMaxPageWorlds)
                return "a page out of range";
            for (const GalleryWorld& w : page.worlds) {
                if (std::string bad = checkWorld(w); !bad.empty())
                    return bad;
            }
        } else if (why.empty()) {
            return "a page refused without a reason";
        }
        GalleryWorld world;
        if (galleryanswer::readWorld(body, world, why)) {
            if (std::string bad = checkWorld(world); !bad.empty())
                return bad;
        }
        number = 0;
        if (galleryanswer::readNewWorldId(body, number, why) && number < 1)
            return "a new world's id below 1";
        GalleryRating rating;
        if (galleryanswer::readRating(body, rating, why) &&
            (!(rating.rating >= 1.0 && rating.rating <= 5.0) || rating.ratings < 1))
            return "a rating out of range";
        (void)galleryanswer::readDeleted(body, 3, why);
        if (galleryanswer::readScreenshot(body, why) && body.size() > galleryanswer::kMaxScreenshotBytes)
            return "an oversized screenshot taken";
        const std::string words = galleryanswer::errorMessage(body);
        if (words.size() > 200)
            return "the error's words are longer than a line";
        for (char c : words) {
            if (static_cast<unsigned char>(c) < 0x20)
                return "the error's words hold a control character";
        }
        return "";
    }
};

}  // namespace

std::unique_ptr<Harness> makeGalleryAnswerHarness()
{
    return std::make_unique<GalleryAnswerHarness>();
}

}  // namespace loaders
