// An online session: two peers meet (the host waits, the joiner calls), then play a run of two-player matches,
// each machine playing its own player's input at once and the other's as predicted, rolled back when it differs.
#pragma once
#include <cstdint>
#include <string>

#include "app/online/frame_input.h"
#include "app/online/frame_state.h"
#include "app/online/protocol.h"

// What the player asked for on the command line.
struct OnlineRequest {
  OnlineRole role = OnlineRole::Host;
  uint16_t port = 27960;    // the host's port (the joiner's own, and 0, are chosen by the system)
  std::string peerAddress;  // the joiner's HOST[:PORT], or with a server the room's code
  std::string name;         // shown to the other player
  // A rendezvous server's ADDRESS[:PORT]: the host asks it for a room code, the joiner gives it the code.
  std::string serverAddress;
  bool relayOnly = false;  // with a server: play through its relay at once, never directly (tests)
};

constexpr uint16_t kDefaultOnlinePort = 27960;
constexpr uint32_t kMeetingTimeoutMs = 30000;
constexpr uint32_t kSilenceTimeoutMs = 3000;
// Through a server: how long a host with a room code waits for the other player (the code's own life), how long
// the server may stay silent before the meeting gives up, and how long a direct path may take to open before the
// peers play through the server's relay.
constexpr uint32_t kRoomWaitMs = 10 * 60 * 1000;
constexpr uint32_t kServerSilenceMs = 5000;
constexpr uint32_t kDirectPathWaitMs = 3000;
// While the other side's page is in the background (its browser wakes it once a second, or less), how long it may
// stay silent before the session ends.
constexpr uint32_t kPausedSilenceMs = 60000;

enum class OnlinePhase { Off, Meeting, Playing, Ended };
extern OnlinePhase OnlineSessionPhase;

// The peers' frame clocks: a frame of play lasts 30 ms.
constexpr uint32_t kOnlineFrameMs = 30;

// Opens the socket and starts meeting; false with the reason (a plain line for the player).
bool StartOnlineSession(const OnlineRequest& request, std::string* error);

// One step of the meeting, called every frame of the waiting screen: true once the two have met (the match can
// start); *status is the line to show; a failure ends the session (phase Ended) with its reason in *status.
bool ContinueMeeting(std::string* status);

// What the waiting screen shows: the addresses to give the other player (host), and the other's name once known.
std::string OnlineAddressesText();
const char* OtherPlayerName();
// The room code the server gave the host ("" until then, and without a server).
const char* OnlineRoomCode();

// Sets the game up for the session's first match and puts the online frame into RunFrame: from then on every
// frame exchanges input and may roll back. Called once the peers have met.
void BeginOnlineMatches();

// Called once when a session that was playing ends (the game shows the reason and opens the title menu; the
// replay tool's peers finish their run).
extern void (*OnOnlineSessionEnded)();

// Called each turn while play stands still because a page is in the background (this one or the other's), with the
// line to show; it paces the turn (a frame's time). The game draws the line; the replay tool's peers set none.
extern void (*OnOnlinePauseShown)(const std::string& notice);

// The online frame (RunFrame's FramePlayer during a session): input exchange, corrections, this frame's rules.
void PlayOnlineFrame();

// Ends the session with a reason ("The other player left."): tells the other side when it was our choice, closes
// the socket and gives RunFrame back its offline frame. The reason stays readable.
void EndOnlineSession(const std::string& reason, bool tellOtherSide);
const std::string& OnlineEndReason();

// The replay tool's peers, after their script's last frame: plays no more frames, but goes on exchanging (and
// correcting) until every frame up to lastFrame is confirmed on both sides. False when the session ended first.
bool SettleOnlineSession(int64_t lastFrame);
// FirstScreen of a replay of an online session's recording: no title menu (the script's "match" line sets the
// match up before its first frame).
bool StartRecordedOnlineMatch();

// The newest frame this side has confirmed.
int64_t OnlineConfirmedThrough();

// The set-up of every online match: two players, a new match (the title menu's new game, without the menu).
void SetUpOnlineMatch();

// What Space does after a lost match in an online session (the serve step's TitleMenuEntry): no title menu; the
// key is taken back, so the serve stays held until the next match starts (both players pressed Space).
bool HoldServeAfterLostMatch();

// ---- What the replay tool's peers and the tests read.

// A frame whose both inputs are known: its number, the state after it, the fingerprint of its picture and the
// sounds it started (ids), handed over once, in order, when it is confirmed.
struct ConfirmedFrame {
  int64_t frame = 0;
  FrameState after{};
  uint64_t pictureHash = 0;
  int32_t soundIds[8] = {};
  int32_t soundCount = 0;
  platform::InputFrame input;    // the frame both machines played
  bool startsNextMatch = false;  // after this frame the next match was set up
  bool matchOver = false;        // the match was over after this frame (a player out of lives)
};
// Called with each confirmed frame when set (the replay tool's peers print their trace lines from it).
extern void (*OnFrameConfirmed)(const ConfirmedFrame& frame);
// Whether picture fingerprints are taken (they cost a pass over the picture per frame played); off in the game.
extern bool TakeOnlinePictureHashes;
// Whether the session paces frames itself on the network clock, 30 ms each (the replay tool's peers, whose
// frame clock is virtual); the game leaves pacing to its frame clock.
extern bool PaceOnlineFramesByNetClock;

struct OnlineCounts {
  int64_t rollbacks = 0, framesPlayedAgain = 0, stalls = 0, stalledMs = 0;
  int64_t datagramsIgnored = 0;  // from strangers, malformed, of another kind than expected
  int64_t bytesSent = 0, bytesReceived = 0;
  uint32_t roundTripMs = 0;
  int32_t inputDelay = 0;
};
const OnlineCounts& OnlineSessionCounts();
