// Calling the library through the Vollo constants: sound and INI (no display).
#include <gtest/gtest.h>

#include <SFML/Audio.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound.hpp"
#include "vollo.h"

namespace
{
class TempDirTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vollo-namespace-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    std::string path(const char *name) const { return dir_ + "/" + name; }

    std::string dir_;
};

bool write_tone(const std::string &path)
{
    std::vector<sf::Int16> samples(22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<sf::Int16>(8000 * std::sin(i * 0.0627));
    sf::OutputSoundFile file;
    if (!file.openFromFile(path, 44100, 1))
        return false;
    file.write(samples.data(), samples.size());
    return true;
}

using SoundThroughVollo = TempDirTest;

// The test runs with OpenAL's null driver (set by CTest): no sound card needed.
TEST_F(SoundThroughVollo, EffectAndMusicAnswerToTheConstants)
{
    for (const char *name : {"effect.wav", "music.ogg"})
    {
        const bool effect = std::string(name) == "effect.wav";
        ASSERT_TRUE(write_tone(path(name)));
        vollo_sound *sound = effect ? Vollo::LoadEffect(path(name).c_str()) : Vollo::LoadMusic(path(name).c_str());
        ASSERT_NE(sound, nullptr) << name;
        EXPECT_EQ(sound->type, effect ? 1 : 0);
        sf::SoundSource &source = vollo_audio::source(sound);

        Vollo::SetVolume(sound, 250);
        EXPECT_FLOAT_EQ(source.getVolume(), 100) << name;
        Vollo::SetVolume(sound, 37.5);
        EXPECT_NEAR(source.getVolume(), 37.5, 1e-4) << name;
        Vollo::SetPitch(sound, -1);
        EXPECT_FLOAT_EQ(source.getPitch(), 0) << name;
        Vollo::SetPitch(sound, 1);

        Vollo::SetLoop(sound, true);
        EXPECT_TRUE(effect ? static_cast<vollo_effect *>(sound)->player.getLoop()
                           : static_cast<vollo_music *>(sound)->player.getLoop());
        Vollo::PlaySound(sound);
        EXPECT_EQ(source.getStatus(), sf::SoundSource::Playing) << name;
        Vollo::StopSound(sound);
        EXPECT_EQ(source.getStatus(), sf::SoundSource::Stopped) << name;
        Vollo::DeleteSound(sound);
    }
    EXPECT_EQ(Vollo::LoadEffect(path("missing.wav").c_str()), nullptr);
    EXPECT_EQ(Vollo::LoadMusic(path("missing.ogg").c_str()), nullptr);
}

using IniThroughVollo = TempDirTest;

// A round trip through the constants and the marker twins.
TEST_F(IniThroughVollo, DocumentAnswersToTheConstantsAndMarkers)
{
    vollo_ini *ini = Vollo::NewIni();
    ASSERT_NE(ini, nullptr);
    Vollo::SetField(ini, Vollo::DefaultScope, "name", 0, "vollo");
    Vollo::SetField(ini, "window", "width", 0, "640");
    Vollo::SetField(ini, "window", "height", 0, "480");
    EXPECT_STREQ(Vollo::GetField(ini, Vollo::DefaultScope, "name", 0), "vollo");

    // Erase one field with the index marker, and a value with the value marker.
    Vollo::SetField(ini, "window", "height", Vollo::EraseField, Vollo::EraseIndex);
    EXPECT_EQ(Vollo::GetField(ini, "window", "height", 0), nullptr);
    EXPECT_STREQ(Vollo::GetField(ini, "window", "width", 0), "640");

    ASSERT_TRUE(Vollo::SaveIni(ini, path("settings.ini").c_str()));
    Vollo::DeleteIni(ini);

    ini = Vollo::LoadIni(path("settings.ini").c_str());
    ASSERT_NE(ini, nullptr);
    std::vector<std::string> scopes;
    for (vollo_ini_scope *scope = Vollo::FirstScope(ini); scope != Vollo::LastScope;
         scope = Vollo::NextScope(ini, scope))
    {
        scopes.push_back(Vollo::GetScopeName(ini, scope));
        if (scopes.back() == "window")
        {
            EXPECT_STREQ(Vollo::ScopeGetField(scope, "width", 0), "640");
            Vollo::ScopeSetField(scope, "width", 0, "800");
        }
    }
    EXPECT_EQ(scopes, (std::vector<std::string>{"", "window"}));
    EXPECT_STREQ(Vollo::GetField(ini, "window", "width", 0), "800");

    // The scope marker with a null value erases a whole scope.
    Vollo::SetField(ini, "window", Vollo::EraseScope, 0, Vollo::EraseIndex);
    EXPECT_EQ(Vollo::GetField(ini, "window", "width", 0), nullptr);
    Vollo::DeleteIni(ini);
}
}  // namespace
