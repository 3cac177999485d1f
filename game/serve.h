// The serve step: holds a missed ball at the serve point until Space, and after a lost match opens the title menu.
// Runs after the ball rules and before the playfield is drawn, so a held ball is always drawn at the serve point.
#pragma once

// The title menu that Space opens after a lost match. The application shell points it at its RunTitleMenu
// during start-up, so the match rules call the menu without depending on the shell; null means "no menu".
extern bool (*TitleMenuEntry)();

// For each player whose serve is held: ball to (230, 245); Space with no lives left opens the title menu;
// "Press Space Bar" is drawn; Space releases the serve. Player 1 is handled before player 2.
bool UpdateServe();
