// Shared set-up of the view tests: a current camera of our own, stored 2D/3D cameras and a
// platform that records what the view code reports.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <utility>
#include <vector>
#include "display/view.h"
#include "platform/platform.h"
#include "scene/scene.h"

class ViewRec : public plt::Platform {
public:
    int MsgBox(const char* text, const char* caption, int, int) override {
        boxes.emplace_back(caption ? caption : "", text ? text : "");
        return plt::AnsOk;
    }
    void Beep() override { beeps++; }
    void Notify(int id, long w) override { notes.emplace_back(id, w); }
    void Console(const char* t) override { con += t; }
    void SetCursor(int i) override { cursors.push_back(i); }
    int Count(int id, long w) const {
        int n = 0;
        for (auto& e : notes) n += e.first == id && e.second == w;
        return n;
    }
    std::vector<std::pair<std::string, std::string>> boxes;
    std::vector<std::pair<int, long>> notes;
    std::vector<int> cursors;
    std::string con;
    int beeps = 0;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        plt::Set(&rec);
        std::memset(&c, 0, sizeof c);
        std::memset(&c2, 0, sizeof c2);
        std::memset(&c3, 0, sizeof c3);
        savedCam = CurCamObj; saved2 = Cam2D; saved3 = Cam3D;
        savedBox = SceneBox;
        CurCamObj = &c;
        Cam2D = &c2;
        Cam3D = &c3;
        PixAsp[0] = PixAsp[1] = 1;
        IniView();
        SetCamDef(&c);
        c.view.CurCam = 1;
        c.view.UpAxis = 0;
        SceneBox = BBox{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
        Size(800, 600);
        SetTrnView();
    }
    void TearDown() override {
        CurCamObj = savedCam; Cam2D = saved2; Cam3D = saved3;
        SceneBox = savedBox;
        PixAsp[0] = PixAsp[1] = 1;
        plt::Set(nullptr);
    }
    // The shell's resize: record the size, then the resize command.
    void Size(int w, int h);
    CamView& V() { return c.view; }

    ViewRec rec;
    cam c, c2, c3;
    cam *savedCam, *saved2, *saved3;
    BBox savedBox;
};
