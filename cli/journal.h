// Journal runner: replays engine inputs from a text file and prints what a user would see.
#pragma once
