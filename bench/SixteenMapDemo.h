#pragma once

#include "BenchSupport.h"
#include "demo/DemoInstallation.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"

#include <filesystem>

namespace ballotine::bench {

// Answers Yes to every question and keeps quiet otherwise, noting the last message.
class YesPrompter final : public Prompter {
public:
    void ShowMessage(std::string_view text) override { lastMessage = text; }
    bool AskYesNo(std::string_view) override { return true; }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return {}; }

    std::string lastMessage;
};

// The demo installation with eight more installed maps: sixteen to vote for.
struct SixteenMapDemo {
    static const SixteenMapDemo& Shared() {
        static const SixteenMapDemo demo;
        return demo;
    }
    SixteenMapDemo() {
        std::string error;
        ok = demo::WriteDemoInstallation(layout, error);
        const std::filesystem::path sprites = layout.gameDir / "tfc/sprites/vote";
        for (int i = 1; ok && i <= 8; ++i) {
            const std::string name = "extra" + std::to_string(i);
            ok = CopyFileReplacing(sprites / "skyline.spr", sprites / (name + ".spr")) &&
                 CopyFileReplacing(maps / "skyline.bsp", maps / (name + ".bsp"));
        }
    }

    bench::ScratchDir root;
    const demo::DemoLayout layout{root / "demo", BALLOTINE_BIN_DIR};
    const std::filesystem::path maps = layout.gameDir / "tfc/maps";
    bool ok = false;
};

} // namespace ballotine::bench
