#include "GalleryPage.h"

#include "OutputFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <string_view>

namespace {

const char* const pageStart = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Velmora gallery</title>
<style>
body { font-family: sans-serif; margin: 1em; background: #f4f4f4; }
[hidden] { display: none !important; }
#filter { font-size: 1.1em; width: 24em; }
section h2 { font-size: 1.1em; margin: 1em 0 0.3em; }
figure { display: inline-block; vertical-align: top; width: 200px; margin: 0 0.6em 0.6em 0;
  padding: 0.4em; background: white; border: 1px solid #ccc; font-size: 0.8em; }
figure img { width: 200px; display: block; }
figcaption { overflow-wrap: anywhere; }
.name { font-weight: bold; }
.problem { color: #c00000; }
</style>
</head>
<body>
<h1>Velmora gallery</h1>
<p><input id="filter" type="search" placeholder="Filter by path" autofocus> <span id="count"></span></p>
)";

// Hides the models whose path does not hold the box's text, and folders left empty. The box
// starts with the page's "?filter=" text, so a link (or a test) can open the page filtered.
const char* const pageEnd = R"(<script>
const box = document.getElementById('filter');
const models = Array.from(document.querySelectorAll('figure[data-path]'));
function applyFilter() {
  const text = box.value.toLowerCase();
  let shown = 0;
  for (const model of models) {
    model.hidden = !model.dataset.path.toLowerCase().includes(text);
    shown += model.hidden ? 0 : 1;
  }
  for (const folder of document.querySelectorAll('section'))
    folder.hidden = !folder.querySelector('figure:not([hidden])');
  document.getElementById('count').textContent = shown + ' of ' + models.length;
}
box.value = new URLSearchParams(location.search).get('filter') || '';
box.addEventListener('input', applyFilter);
applyFilter();
</script>
</body>
</html>
)";

std::string escaped(const std::string& text) {
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

// A relative URL of the file: every byte but letters, digits, "-._~" and '/' as %XX, so that a
// '#', '?', '%' or blank in a name reaches the file and not a fragment or query.
std::string urlOf(const std::string& relativeFile) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url;
    for (const char c : relativeFile) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 && byte < 0x80)
            url += c;
        else if (std::string_view("-._~/").find(c) != std::string_view::npos)
            url += c;
        else
            url += {'%', hex[byte >> 4], hex[byte & 0xF]};
    }
    return url;
}

std::string folderOf(const std::string& relativePath) {
    const std::size_t slash = relativePath.rfind('/');
    return slash == std::string::npos ? "" : relativePath.substr(0, slash);
}

std::string nameOf(const std::string& relativePath) {
    return relativePath.substr(relativePath.rfind('/') + 1);
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string seconds(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, end.ptr) + " s";
}

std::string animationsLine(const std::vector<GalleryAnimation>& animations) {
    if (animations.empty())
        return "no animations";
    std::string line;
    for (const GalleryAnimation& animation : animations)
        line +=
            (line.empty() ? "" : ", ") + escaped(animation.name) + " " + seconds(animation.seconds);
    return line;
}

std::string problemLine(const std::string& text) {
    return "<br><span class=\"problem\">" + escaped(text) + "</span>";
}

std::string facts(const GalleryModel& model) {
    if (!model.failure.empty())
        return problemLine("cannot be shown: " + model.failure);
    std::string html = "<br>" + counted(model.vertices, "vertex", "vertices") + ", " +
                       counted(model.triangles, "triangle", "triangles") + "<br>" +
                       counted(model.bones, "bone", "bones") + "<br>" +
                       animationsLine(model.animations);
    for (const std::string& texture : model.missingTextures)
        html += problemLine("missing texture: " + texture);
    return html;
}

// "12 models, 1 cannot be shown, 2 with missing textures": the problems before any scrolling.
std::string summary(const std::vector<GalleryModel>& models) {
    const auto failed = std::count_if(models.begin(), models.end(), [](const GalleryModel& model) {
        return !model.failure.empty();
    });
    const auto missing = std::count_if(models.begin(), models.end(), [](const GalleryModel& model) {
        return !model.missingTextures.empty();
    });
    std::string line = counted(models.size(), "model", "models");
    if (failed > 0)
        line += ", <span class=\"problem\">" + std::to_string(failed) + " cannot be shown</span>";
    if (missing > 0)
        line += ", <span class=\"problem\">" + std::to_string(missing) +
                " with missing textures</span>";
    return "<p>" + line + "</p>\n";
}

std::string figure(const GalleryModel& model) {
    std::string html = "<figure data-path=\"" + escaped(model.relativePath) + "\">";
    if (!model.picture.empty())
        html += "<img src=\"" + urlOf(model.picture) + "\" alt=\"\" loading=\"lazy\">";
    return html + "<figcaption><span class=\"name\">" + escaped(nameOf(model.relativePath)) +
           "</span>" + facts(model) + "</figcaption></figure>\n";
}

} // namespace

std::string galleryPicturePath(const std::string& relativePath) {
    const std::string meshExtension = ".mesh";
    const bool isMesh = relativePath.size() >= meshExtension.size() &&
                        relativePath.compare(relativePath.size() - meshExtension.size(),
                                             meshExtension.size(), meshExtension) == 0;
    return (isMesh ? relativePath.substr(0, relativePath.size() - meshExtension.size())
                   : relativePath) +
           ".png";
}

std::string galleryPage(const std::vector<GalleryModel>& models) {
    std::vector<const GalleryModel*> byFolder;
    for (const GalleryModel& model : models)
        byFolder.push_back(&model);
    std::stable_sort(byFolder.begin(), byFolder.end(), [](const auto* a, const auto* b) {
        return folderOf(a->relativePath) < folderOf(b->relativePath);
    });
    std::string html = pageStart + summary(models);
    for (std::size_t first = 0; first < byFolder.size();) {
        const std::string folder = folderOf(byFolder[first]->relativePath);
        html += "<section>\n<h2>" + escaped(folder.empty() ? "." : folder) + "</h2>\n";
        for (; first < byFolder.size() && folderOf(byFolder[first]->relativePath) == folder;
             ++first)
            html += figure(*byFolder[first]);
        html += "</section>\n";
    }
    return html + pageEnd;
}

std::string writeGalleryPage(const std::filesystem::path& file,
                             const std::vector<GalleryModel>& models) {
    const std::string page = galleryPage(models);
    try {
        writeOutputFile(file.string(), [&](const Ogre::DataStreamPtr& stream) {
            stream->write(page.data(), page.size());
        });
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
