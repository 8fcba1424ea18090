#include "platform/file_dialog.h"

#include "platform/dialog_host.h"
#include "platform/headless.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/path_resolver.h"
#include "platform/test_hook.h"
#include "platform/text_encoding.h"

#include <imgui.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace plat {
namespace {

namespace fs = std::filesystem;

detail::TestHook<std::optional<std::string>(const FileDialogDesc&)>& responder()
{
    static detail::TestHook<std::optional<std::string>(const FileDialogDesc&)> instance;
    return instance;
}

// The folder part of a game path, with its separator at the end ("" for
// the game folder).
std::string folderOf(std::string_view sjis)
{
    std::string folder(sjis);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder == ".\\" ? std::string() : folder;
}

// The last component of a game path (Shift-JIS: a 0x5C byte may be a
// trail byte, so the path is cut in UTF-8).
std::string lastPart(const std::string& sjis)
{
    const std::string utf8 = sjisToUtf8(sjis);
    const auto slash = utf8.find_last_of('\\');
    return utf8ToSjisLossy(slash == std::string::npos ? utf8 : utf8.substr(slash + 1));
}

bool hasExtension(const std::string& sjisName)
{
    return lastPart(sjisName).find('.') != std::string::npos;
}

bool fileExists(const std::string& sjisPath)
{
    const auto native = resolveExisting(sjisPath);
    std::error_code ec;
    return native && fs::is_regular_file(*native, ec);
}

// Asks before a save replaces a file; true to go on.
bool confirmOverwrite(const std::string& sjisPath)
{
    const std::string text =
        lastPart(sjisPath) + utf8ToSjisLossy(" は既に存在します。\n上書きしますか？");
    return messageBox(0, text, utf8ToSjisLossy("保存の確認"), MB_YESNO | MB_ICONWARNING) == IDYES;
}

// The choice as the program receives it; nothing when it cannot be taken.
std::optional<std::string> finish(const FileDialogDesc& d, std::string path)
{
    if (d.save) {
        if (!d.defExt.empty() && d.defExt.find('*') == std::string::npos && !hasExtension(path))
            path += "." + d.defExt;
        if (fileExists(path) && !confirmOverwrite(path)) return std::nullopt;
        return path;
    }
    if (!fileExists(path)) return std::nullopt;
    return path;
}

struct Entry {
    std::string utf8;
    bool folder = false;
};

class Browser {
public:
    explicit Browser(const FileDialogDesc& d) : desc_(d), folder_(folderOf(d.initialDirSjis))
    {
        setName(sjisToUtf8(d.proposedNameSjis));
        list();
    }

    bool frame()
    {
        const ImGuiViewport* view = ImGui::GetMainViewport();
        ImGui::SetNextWindowPos(
            ImVec2(view->WorkPos.x + view->WorkSize.x / 2, view->WorkPos.y + view->WorkSize.y / 2),
            ImGuiCond_Always, ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowSize(ImVec2(460, 360));
        bool open = true;
        const std::string title = sjisToUtf8(desc_.titleSjis) + "###files";
        ImGui::Begin(title.c_str(), &open, ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse);
        // The folder as the player's system writes it, from the game folder.
        ImGui::TextUnformatted(("./" + detail::shownText(folder_)).c_str());
        ImGui::BeginChild("list", ImVec2(0, 240), true);
        std::string enter;
        for (const Entry& e : entries_) {
            const std::string label = (e.folder ? "[" + e.utf8 + "]" : e.utf8);
            if (ImGui::Selectable(label.c_str(), !e.folder && e.utf8 == name(),
                                  ImGuiSelectableFlags_AllowDoubleClick)) {
                if (e.folder) {
                    enter = e.utf8;
                } else {
                    setName(e.utf8);
                    if (ImGui::IsMouseDoubleClicked(0)) accept_ = true;
                }
            }
        }
        ImGui::EndChild();
        ImGui::SetNextItemWidth(300);
        // The name has the keyboard from the start: a name can be typed at
        // once, and Enter takes the one proposed.
        if (frames_++ == 0) ImGui::SetKeyboardFocusHere();
        if (ImGui::InputText("##name", name_.data(), name_.size(),
                             ImGuiInputTextFlags_EnterReturnsTrue))
            accept_ = true;
        ImGui::SameLine();
        if (ImGui::Button(desc_.save ? "保存" : "開く")) accept_ = true;
        ImGui::SameLine();
        if (ImGui::Button("キャンセル")) open = false;
        ImGui::TextUnformatted(sjisToUtf8(desc_.filterLabelSjis).c_str());
        // Enter confirms and Escape cancels wherever the keyboard is.
        if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false)) accept_ = true;
        if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false)) open = false;
        ImGui::End();
        if (!enter.empty()) changeFolder(enter);
        if (accept_) {
            accept_ = false;
            tryAccept();
        }
        if (!open) done_ = true;
        return !done_;
    }

    std::optional<std::string> result() const { return result_; }

private:
    std::string name() const { return std::string(name_.data()); }
    void setName(const std::string& utf8)
    {
        name_.fill('\0');
        std::memcpy(name_.data(), utf8.data(), std::min(utf8.size(), name_.size() - 1));
    }

    void list()
    {
        entries_.clear();
        if (!folder_.empty()) entries_.push_back(Entry{"..", true});
        const auto native = resolveExisting(folder_.empty() ? "." : folder_);
        std::error_code ec;
        if (!native) return;
        std::vector<Entry> found;
        for (const auto& item : fs::directory_iterator(*native, ec)) {
            const std::string utf8 = item.path().filename().string();
            const bool folder = item.is_directory(ec);
            bool shown = folder;
            for (const std::string& p : desc_.patterns)
                shown = shown || matchesPattern(utf8, p);
            if (shown) found.push_back(Entry{utf8, folder});
        }
        std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
            return a.folder != b.folder ? a.folder : a.utf8 < b.utf8;
        });
        entries_.insert(entries_.end(), found.begin(), found.end());
    }

    void changeFolder(const std::string& utf8)
    {
        if (utf8 == "..") {
            std::string u = sjisToUtf8(folder_);
            u.pop_back();
            const auto slash = u.find_last_of('\\');
            folder_ = slash == std::string::npos ? std::string()
                                                 : utf8ToSjisLossy(u.substr(0, slash + 1));
        } else {
            folder_ += utf8ToSjisLossy(utf8) + "\\";
        }
        list();
    }

    void tryAccept()
    {
        const auto sjisName = utf8ToSjis(name());
        if (!sjisName || sjisName->empty()) return;
        if (auto chosen = finish(desc_, folder_ + *sjisName)) {
            result_ = chosen;
            done_ = true;
        }
    }

    const FileDialogDesc& desc_;
    std::string folder_;
    std::vector<Entry> entries_;
    std::array<char, 256> name_{};
    int frames_ = 0;
    bool accept_ = false;
    bool done_ = false;
    std::optional<std::string> result_;
};

std::optional<std::string> runOnMain(const FileDialogDesc& d)
{
    if (const auto choose = responder().get()) {
        auto chosen = (*choose)(d);
        if (!chosen) return std::nullopt;
        return finish(d, *chosen);
    }
    if (detail::headless()) return std::nullopt;
    Browser browser(d);
    if (!detail::runImGuiDialog(sjisToUtf8(d.titleSjis), 500, 400,
                                [&browser] { return browser.frame(); }))
        return std::nullopt;
    return browser.result();
}

} // namespace

std::optional<std::string> runFileDialog(const FileDialogDesc& d)
{
    std::optional<std::string> result;
    if (!runOnMainThread([&] { result = runOnMain(d); })) return std::nullopt;
    return result;
}

void setFileDialogResponder(std::function<std::optional<std::string>(const FileDialogDesc&)> choose)
{
    responder().set(std::move(choose));
}

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern.empty()) return name.empty();
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (matchesPattern(name.substr(skip), pattern.substr(1))) return true;
        return false;
    }
    if (name.empty()) return false;
    const bool same = pattern[0] == '?' || std::tolower(static_cast<unsigned char>(pattern[0])) ==
                                               std::tolower(static_cast<unsigned char>(name[0]));
    return same && matchesPattern(name.substr(1), pattern.substr(1));
}

} // namespace plat
