#!/usr/bin/env python3
"""Writes the sample game "Mosslight" into content/: the game file, its folder (card set, the
starting set that deck evolution draws from, starter deck, the starter deck builder that a new
player takes, opponents, mission), the profile list with its player file, the help pages and the
pictures.

Every data file is written with CR LF line ends. Card pictures and thumbnails are drawn with
ImageMagick's convert (apt-get install imagemagick); pass --no-pictures to skip them.

Each action script is checked against the card language's keywords and field counts before
anything is written, so a misspelt command or a missing field stops the script.
"""

import os
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "content")
GAME = "Mosslight"
SET_FILE = "Mosslight_Set.txt"
PROFILE = "Guest"
PLAYER_FILE = f"{GAME}_{PROFILE}.plr"
GAME_FILE = f"{GAME}.gam"
BANNER = "*" * 41
NO_PICTURE_DATA = "%%%0%0%0%0%0%0%0%0"
# The starter deck: a deck of one of each card, which the computer games also play, and the
# starter deck builder that the games page offers a new player.
STARTER_DECK_FILE = "Lamplighter_Starter.txt"
STARTER_BUILDER_FILE = "Lamplighter_StarterDeck.txt"
STARTER_NAME = "Lamplighter Starter Deck"
STARTER_DESCRIPTION = "New to the marsh? Play this first: it gives you your starter cards."
STARTER_PLAYER_CARD_NOTE = "Every deck needs a player card, and this one is yours."
# Below the description of a player card: its HP and its glow, filled in from the card wherever
# the card is shown with its description (clicked on the board, in the deck manager).
PLAYER_CARD_FIGURES = "<br><b>HP:</b> #TRAIT/HP# <b>GLOW:</b> #TRAIT/GLOW#"
# The number of cards the card designer's starter deck builders hand out.
STARTER_DECK_SIZE = 80
# A card's price in glow is its GLOWCOST trait, which its COST action charges. The cost card prices
# a creature at half its POWER and HP and a structure at half its HP, rounded down, plus what its
# abilities are worth (ABILITYCOST, carried by the cards whose price differs from that), so that
# "Calculate Cost" gives every sample card the price its text states.
OWNER_GLOW_COST = "REQTRAITMORE:GLOW:TRAIT/GLOWCOST:MODTRAIT:GLOW:TRAIT/GLOWCOST/TRAITMINUS1"
# Each allied Moth Shrine in play (the trait LENDSGLOW, which a shrine gains as it enters, so that
# one queued but not yet paid for lends nothing) makes an allied spell cost 1 glow less, down to
# nothing. The last TRAIT reads a trait the spell lacks, so that a price of 0 reads as 0 rather
# than as the GLOWCOST read before it.
SHRINES = "TRAITCOUNT/LENDSGLOW/SRCALLY"
SPELL_GLOW_COST = (f"REQTRAITMORE:GLOW:{SHRINES}/NEG/TRAIT/GLOWCOST/TRAITPLUS1/MIN0/TRAIT/LENDSGLOW:"
                   f"MODTRAIT:GLOW:TRAIT/GLOWCOST/TRAITMINUS1/{SHRINES}/MAX0/TRAIT/LENDSGLOW")

# Keyword: number of fields that belong to it. Keywords after which compiling stops are marked.
FIELDS = {
    "REQNOTTRAIT": 1, "REQNOTRAIT": 1, "REQNOMYTRAIT": 1, "REQMYNOTRAIT": 1, "REQMYNOTTRAIT": 1,
    "REQTRAIT": 1, "REQONEOF": 1, "REQMYONEOF": 1, "REQMYTRAIT": 1, "REQTRAITLESS": 2,
    "REQMYTRAITLESS": 2, "REQTRAITMORE": 2, "REQMYTRAITMORE": 2, "REQTRAITEQUALS": 2,
    "REQMYTRAITEQUALS": 2, "REQTRAITNOTEQUALS": 2, "REQMYTRAITNOTEQUALS": 2, "REQTRAITIS": 2,
    "REQMYTRAITIS": 2, "REQENEMY": 0, "REQALLY": 0, "REQISMORE": 2, "REQISLESS": 2,
    "REQEQUALS": 2, "REQNAME": 1, "REQMYNAME": 1, "REQNONAME": 1, "REQNOMYNAME": 1,
    "REQISPLAYER": 0, "REQNOTPLAYER": 0, "REQISNOTPLAYER": 0, "REQCARDISDEAD": 1, "CHANCE": 1,
    "ONECHANCE": 1, "DRAWCARDS": 1, "REMOVETRAIT": 1, "REMOVEMYTRAIT": 1, "ADDEFFECT": 3,
    "DESTROYME": 0, "DESTROY": 0, "DELETEEFFECT": 0, "MODTRAIT": 2, "MODMYTRAIT": 2,
    "MODOWNERTRAIT": 2, "MODMYOWNERTRAIT": 2, "SUBTRAIT": 2, "ADDTRAIT": 1, "SETTRAIT": 2,
    "SETMYTRAIT": 2, "SETOWNERTRAIT": 2, "SETMYOWNERTRAIT": 2, "ECHOTRAIT": 1, "ECHO": 1,
    "ECHOONCE": 1, "ECHOMINOR": 1, "ECHOFAIL": 1, "FAILECHO": 1, "ECHOLOCKED": 1,
    "LOCKEDECHO": 1, "CREATECARD": 3, "TRAIT": 2, "MINDCONTROL": 0, "MINDCONTROLME": 0,
    "DEFECT": 0, "DEFECTME": 0, "JOIN": 1, "MEJOIN": 1, "TRAITCOMMAND": 1,
    "TARGTRAITCOMMAND": 1, "MODTOKENS": 1, "BOOSTER": 1, "BOOSTERWITHREQS": 2,
    "BOOSTERCARD": 2, "UNAMEBOOSTERCARD": 2, "CHANGENAME": 1, "CHANGEMYNAME": 1, "REPEAT": 2,
    "RETARGET": 1, "RETARGETBYGID": 1, "RETARGETCOLLECTION": 1, "SETCARDTARGET": 0,
    "LOSEGAME": 0, "WINGAME": 0, "CANCEL": 0, "RETURNTOHAND": 0, "RETURNMETOHAND": 0,
    "REQVALMORE": 1, "REQVALLESS": 1, "REQVALEQUALS": 1, "MODVAL": 1, "SETVAL": 1,
    "REQTRAITTARGET": 1, "REQNOTRAITTARGET": 1, "REDIRECTTRAIT": 1, "REDIRECTBYGID": 1,
    "REDIRECT": 1, "TARGETREQUIREMENTS": 0, "REQFROMALLY": 0, "REQFROMENEMY": 0,
    "FRAMECOLOR": 1, "REVERSECOLOR": 0, "TARGETCOLOR": 0, "DUPLICATE": 1, "DUPLICATEME": 1,
    "UNLOCK": 1, "LOCK": 1, "BREAKPOINT": 0, "NEWENEMY": 1, "RENAMEME": 1, "RENAMETARGET": 1,
    "RENAME": 1, "RECOLORME": 1, "RECOLORTARGET": 1, "RECOLOR": 1, "REQNOTME": 0,
    "REQOWNERTRAIT": 2, "REQOWNERTRAITLESS": 2, "REQOWNERTRAITEQUALS": 2,
    "REQOWNERTRAITMORE": 2, "REQOWNERTRAITIS": 2, "REQMYOWNERTRAIT": 2,
    "REQMYOWNERTRAITLESS": 2, "REQMYOWNERTRAITEQUALS": 2, "REQMYOWNERTRAITMORE": 2,
    "REQMYOWNERTRAITIS": 2, "SUBMYTRAIT": 2, "REQNOTRAITIS": 2, "REQTRAITISNT": 2,
    "REQNOMYTRAITIS": 2, "REQMYTRAITISNT": 2, "DUPLICATEWITHCOST": 1,
    "DUPLICATEMEWITHCOST": 1, "SAVECOLLECTION": 0, "SUBTOKENS": 1, "REMOVE": 0,
    "REQCOLLECTIONLIMIT": 1,
}
STOPS = {"ADDEFFECT", "REDIRECTTRAIT", "REDIRECTBYGID", "REDIRECT"}
TARGETS = {"TARGETCARD", "RANDOM", "ALL", "RANDOMENEMY", "RANDOMALLY", "OWNER", "ENEMYPLAYER",
           "SELF", "TRIGGERINGCARD", "COUNTER", "COLLECTION", "GIDCARD"}

used_keywords = set()


def check_script(where, script):
    """Compiles the script as the game does and fails on any word the language does not know."""
    if '"' in script:
        raise SystemExit(f"{where}: double quote in script")
    fields = script.split(":")
    f = 0
    while f < len(fields) and fields[f] != "":
        word = fields[f]
        if word.startswith("AI"):
            word = word[2:]
        if word not in FIELDS:
            raise SystemExit(f"{where}: unrecognised command {word!r} in {script!r}")
        n = FIELDS[word]
        if f + n >= len(fields):
            raise SystemExit(f"{where}: {word} lacks fields in {script!r}")
        for k in range(1, n + 1):
            if fields[f + k] == "":
                raise SystemExit(f"{where}: {word} has an empty field in {script!r}")
        used_keywords.add(word)
        if word in STOPS:
            return
        f += n + 1
    if f < len(fields):
        raise SystemExit(f"{where}: empty field stops compiling early in {script!r}")


class Card:
    def __init__(self, name, key, kind, cost, colour, rarity, desc, power=None, hp=None,
                 traits=(), effects=(), in_set=True):
        self.name, self.key, self.kind, self.cost = name, key, kind, cost
        self.colour, self.rarity, self.desc = colour, rarity, desc
        self.in_set = in_set
        self.traits = []
        if kind == "HERO":
            self.traits.append(("PLAYER", ""))
        else:
            self.traits.append((kind, ""))
        if power is not None:
            self.traits.append(("POWER", str(power)))
        if hp is not None:
            self.traits += [("HP", str(hp)), ("HPMAX", str(hp))]
        if kind != "HERO":
            self.traits.append(("GLOWCOST", str(cost)))
        body = {C: (power or 0) + (hp or 0), T: hp or 0}.get(kind)
        if cost > 0 and body is not None and cost != body // 2:
            self.traits.append(("ABILITYCOST", str(cost - body // 2)))
        self.traits += list(traits)
        self.effects = []
        if cost > 0:
            self.effects.append(("OWNER", "COST", SPELL_GLOW_COST if kind == S else OWNER_GLOW_COST))
        self.effects += list(effects)
        for target, trigger, script in self.effects:
            if target.split(":")[0] not in TARGETS:
                raise SystemExit(f"{name}: unknown target {target}")
            if "," in trigger or '"' in desc:
                raise SystemExit(f"{name}: comma in trigger or quote in description")
            check_script(name, script)

    @property
    def card_desc(self):
        """The description a card line carries; an opponent's deck line keeps the plain one."""
        return self.desc + PLAYER_CARD_FIGURES if self.kind == H else self.desc

    @property
    def picture(self):
        return f"Card-{self.key}.jpg"

    @property
    def thumbnail(self):
        return f"Card-{self.key}-mini.jpg"


def card_text(card, zone, gid, set_file):
    """The block the card writer produces for one card: banner, card line and detail lines."""
    lines = [f"{BANNER} {card.name}",
             f'#CARD, {zone}, "{card.name}", "{card.key}:{gid}", {set_file}, {card.picture}, '
             f'{card.thumbnail}, {card.colour}, "{card.card_desc}"']
    if zone in ("PLAYERCARD", "#PLAYERCARD"):
        return lines + [""]
    lines.append("".join(f'#TRAIT, "{n}:{v}", ' for n, v in card.traits))
    for target, trigger, script in card.effects:
        lines.append(f'#EFFECT, {target}, {trigger}, "{script}"')
    lines.append(f"#EXTRADATA, {card.rarity}, TURNSTART, , {NO_PICTURE_DATA}, ")
    lines.append("")
    return lines


def detail_block(title, head, traits=(), effects=()):
    """A rules card, cost card or trait-action card: its head line and detail lines."""
    lines = [f"{BANNER} {title}", head]
    if traits:
        lines.append("".join(f'#TRAIT, "{n}:{v}", ' for n, v in traits))
    for target, trigger, script in effects:
        check_script(title, script)
        lines.append(f'#EFFECT, {target}, {trigger}, "{script}"')
    lines.append("")
    return lines


def write(relative, lines):
    path = os.path.join(ROOT, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


def cost_note(cost):
    return f"<i>Costs {cost} glow.</i> " if cost else "<i>Costs no glow.</i> "


C, S, T, H = "CREATURE", "SPELL", "STRUCTURE", "HERO"

# Targets are picked and aims are checked by trial runs, in which CHANCE always holds. A RETARGET
# with the AI mark ends a trial run, but in a real run it goes on when it finds no card, as it
# does here (no card has the identifier 0): so the turtle shrugs off real actions only.
SHELL = "REQENEMY:CHANCE:30:AIRETARGET:GIDCARD:ECHO:$MYNAME pulls into its shell.:CANCEL"
# The human player may aim the Ferryman at a creature of either side (the first action marks the
# player's own Ferryman so, for its entry only); the computer's rows back an enemy creature only.
# A card goes to the hand of the side it is on: the engine keeps no first owner.
FERRY_ROW = "ECHO:The Ferryman rows $TARGETNAME back to the hand of $TARGETOWNER.:RETURNTOHAND"
FERRY = [("SELF", "ENTERPLAY", "REQISPLAYER:ADDTRAIT:EITHERBANK"),
         ("TARGETCARD", "ENTERPLAY",
          "REQMYTRAIT:EITHERBANK:REQNOTME:REQNOTTRAIT:PLAYER:REQTRAIT:CREATURE:" + FERRY_ROW),
         ("TARGETCARD", "ENTERPLAY",
          "REQMYNOTRAIT:EITHERBANK:REQENEMY:REQNOTTRAIT:PLAYER:REQTRAIT:CREATURE:" + FERRY_ROW),
         ("SELF", "ENTERPLAY", "REQMYTRAIT:EITHERBANK:REMOVEMYTRAIT:EITHERBANK")]

# The Wisp's two sears are two actions, so that a Decoy Scarecrow can draw each of them (a repeat
# runs inside the first, where no intercept is offered it). The first notes on the Wisp itself
# which enemy it seared, and the second passes that enemy by, so that it sears another one. A
# decoy that drew the first draws the second too: its identifier is noted less a number larger
# than any identifier, which no card has. The Wisp's own third action takes the note away; a
# note on the Wisp is out of every other card's reach, so none can keep it there.
WISP_SEAR = "MODTRAIT:HP:-1:ECHO:Wisp-light sears $TARGETNAME."
WISP_SEARS = [
    ("RANDOMENEMY", "ENTERPLAY",
     "REQTRAIT:HP:SETMYTRAIT:SEARED:TARGETGID:"
     "MODMYTRAIT:SEARED:TARGTRAIT/DECOY/TRAITMINUS1000000000:" + WISP_SEAR),
    ("RANDOMENEMY", "ENTERPLAY", "REQTRAIT:HP:REQMYTRAITNOTEQUALS:SEARED:TARGETGID:" + WISP_SEAR),
    ("SELF", "ENTERPLAY", "REQMYTRAIT:SEARED:REMOVEMYTRAIT:SEARED")]
# The ward answers the loss of HP itself, not the action that causes it: what it whips back is
# always a blow, which strikes the attacker's master whatever the action asked of its target, and
# a mark or a mark's removal is never whipped. Trial runs stop at the retarget, so that they see
# the blow land on the ward.
WARD_WHIP = ("REQVALLESS:-1:REQENEMY:CHANCE:40:AIRETARGET:GIDCARD:ECHO:The Willow Ward whips the "
             "blow of $TARGETNAME back at $TARGETOWNER.:MODOWNERTRAIT:HP:CURVAL:SETVAL:0")

CARDS = [
    Card("Lamplighter", "lamplighter", H, 0, "#FFD860", 1,
         "Keeper of the marsh lanterns. While your lantern burns you are in the game. "
         "If your HP falls to 0 the marsh claims you.", hp=20,
         traits=[("GLOW", "1"), ("LIMITED", "1")]),
    Card("Mossling", "mossling", C, 1, "#8FB46A", 5,
         cost_note(1) + "A small creature of peat and moss.", 1, 2,
         effects=[("SELF", "ENTERPLAY", "ECHOMINOR:A Mossling crawls out of the peat.")]),
    Card("Glowmoth", "glowmoth", C, 1, "#F2E394", 8,
         cost_note(1) + "Flying. When it enters play its owner gains 1 glow.", 1, 1,
         traits=[("FLYING", "")],
         effects=[("OWNER", "ENTERPLAY",
                   "REQALLY:MODTRAIT:GLOW:1:ECHO:The Glowmoth settles on the lantern of "
                   "$TARGETNAME.")]),
    Card("Heron Scout", "heronscout", C, 2, "#B8C7D1", 8,
         cost_note(2) + "Flying. When it enters play its owner draws a card.", 1, 2,
         traits=[("FLYING", "")],
         effects=[("SELF", "ENTERPLAY",
                   "DRAWCARDS:1:ECHO:The Heron Scout returns with news and $MYOWNER draws a card.")]),
    Card("Reed Sentry", "reedsentry", C, 2, "#A9B665", 5,
         cost_note(2) + "At the end of each turn, if it has 2 HP or less, it heals 1 HP.", 1, 4,
         effects=[("SELF", "TURNEND",
                   "REQMYTRAITLESS:HP:2:MODMYTRAIT:HP:1:ECHOMINOR:The Reed Sentry binds its "
                   "wounds with fresh reeds.")]),
    Card("Bog Hound", "boghound", C, 2, "#7A5C3E", 5,
         cost_note(2) + "When it dies it bites the enemy player for 1.", 2, 3,
         effects=[("ENEMYPLAYER", "ONDEATH",
                   "MODTRAIT:HP:-1:ECHO:With its last breath the Bog Hound bites $TARGETNAME.")]),
    Card("Lantern Knight", "lanternknight", C, 3, "#E0B050", 20,
         cost_note(3) + "Armoured. Every blow of 2 or more that it takes is 1 smaller.", 2, 5,
         traits=[("ARMOR", "1")],
         effects=[("SELF", "BEFORETRAITCHANGE:HP",
                   "REQVALLESS:-2:MODVAL:-1:ECHOMINOR:The armour of $MYNAME turns part of the "
                   "blow.")]),
    Card("Peat Golem", "peatgolem", C, 4, "#5E4B32", 25,
         cost_note(4) + "Its moss hide soaks up 3 damage before its HP is touched.", 2, 6,
         traits=[("MOSSHIDE", "3")],
         effects=[("SELF", "BEFORETRAITCHANGE:HP",
                   "REQVALLESS:-1:REQMYTRAITMORE:MOSSHIDE:1:ECHOMINOR:The moss hide of $MYNAME "
                   "soaks up the blow.:REDIRECTTRAIT:MOSSHIDE")]),
    Card("Marsh Witch", "marshwitch", C, 3, "#6E8B74", 20,
         cost_note(3) + "In phase 3 she curses a random enemy creature: half the time it loses "
         "1 POWER.", 1, 3,
         effects=[("RANDOMENEMY", "PHASE3",
                   "REQTRAIT:CREATURE:REQTRAITMORE:POWER:1:ECHO:The Marsh Witch mutters a curse "
                   "at $TARGETNAME.:ECHOFAIL:The curse fizzles in the damp air.:CHANCE:50:"
                   "SUBTRAIT:POWER:1")]),
    Card("Will-o'-Wisp", "willowisp", C, 2, "#9FE8E0", 20,
         cost_note(2) + "Flying. When it enters play it sears two random enemies for 1 each.",
         1, 1, traits=[("FLYING", "")],
         effects=WISP_SEARS),
    Card("Drowned Bell", "drownedbell", T, 2, "#5A7F8C", 20,
         cost_note(2) + "At the start of each turn every wounded allied creature heals 1 HP.",
         hp=5,
         effects=[("ALL", "TURNSTART",
                   "REQALLY:REQTRAIT:CREATURE:REQISLESS:TARGTRAIT/HP:TARGTRAIT/HPMAX:"
                   "MODTRAIT:HP:1:ECHOONCE:The Drowned Bell tolls and wounded allies take "
                   "heart.")]),
    Card("Herbalist", "herbalist", C, 2, "#9CC98A", 8,
         cost_note(2) + "Does not fight. In phase 6 she heals a wounded ally that is not a "
         "structure for 2.", hp=3,
         effects=[("RANDOMALLY", "PHASE6",
                   "REQTRAIT:HP:REQNOTTRAIT:STRUCTURE:REQISMORE:TARGTRAIT/HPMAX:TARGTRAIT/HP:"
                   "MODTRAIT:HP:TARGTRAIT/HPMAX/TRAITPLUS1/TARGTRAIT/HP/TRAITMINUS1/MAX2:"
                   "ECHO:The Herbalist tends to $TARGETNAME.")]),
    Card("Toll Keeper", "tollkeeper", C, 2, "#C2A46B", 10,
         cost_note(2) + "When it enters play on your side you gain 2 tokens.", 1, 3,
         effects=[("SELF", "ENTERPLAY",
                   "REQISPLAYER:MODTOKENS:2:ECHO:The Toll Keeper slips you two tokens.")]),
    Card("Wisp Trader", "wisptrader", C, 2, "#B99CE0", 30,
         cost_note(2) + "Does not fight. Special action: pay 5 tokens to add one of the enemy's "
         "cards to your collection.", hp=2, traits=[("MERCHANT", "")],
         effects=[("SELF", "MENU:TURNSTART:Trade five tokens for a marsh curio",
                   "REQISPLAYER:MODTOKENS:-5:ECHO:The Wisp Trader unwraps a curio taken from the "
                   "enemy camp.:BOOSTER:1")]),
    Card("Mire Shaman", "mireshaman", C, 3, "#4F7A5A", 25,
         cost_note(3) + "In phase 4 its chant withers a random enemy for 1.", 1, 3,
         traits=[("CHANT", "MODTRAIT:HP:-1")],
         effects=[("RANDOMENEMY", "PHASE4",
                   "REQTRAIT:HP:TRAITCOMMAND:CHANT:ECHO:The chant of the Mire Shaman withers "
                   "$TARGETNAME.")]),
    Card("Fen Twins", "fentwins", C, 3, "#7FA88E", 25,
         cost_note(3) + "When it enters play a second twin joins it.", 1, 2,
         # A copy joins quietly, without its entry actions, so the twin brings no twin of its own.
         effects=[("SELF", "ENTERPLAY",
                   "ECHOLOCKED:A second twin wades out of the fen.:DUPLICATEME:1")]),
    Card("Mirror Pool", "mirrorpool", S, 3, "#9FC3E8", 40,
         cost_note(3) + "Spell. Choose an allied creature: a copy of it joins your side.",
         traits=[("PRIORITY", "5")],
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQALLY:REQTRAIT:CREATURE:ECHO:The Mirror Pool shows a second "
                   "$TARGETNAME.:DUPLICATE:1")]),
    Card("Siren of the Reeds", "sirenreeds", C, 4, "#D48FB0", 45,
         cost_note(4) + "When it enters play an enemy creature with 2 POWER or less joins your "
         "side.", 1, 3,
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQTRAIT:CREATURE:REQTRAITLESS:POWER:2:ECHO:The Siren sings and "
                   "$TARGETNAME wades over to her side.:MINDCONTROL")]),
    Card("Turncoat Toad", "turncoattoad", C, 1, "#A3B23C", 10,
         cost_note(1) + "Cheap and strong, but at the end of each turn it may hop over to the "
         "other side.", 2, 2,
         effects=[("SELF", "TURNEND",
                   "ONECHANCE:20:ECHO:The Turncoat Toad hops over to the other bank.:DEFECTME")]),
    Card("Ghost Lantern", "ghostlantern", T, 2, "#CFE3F0", 20,
         cost_note(2) + "When it is destroyed a Mossling crawls from the glass.", hp=2,
         effects=[("SELF", "ONDEATH",
                   f"ECHO:The Ghost Lantern shatters and a Mossling crawls from the glass.:"
                   f"CREATECARD:1:Mossling:{SET_FILE}")]),
    Card("Bog Mummy", "bogmummy", C, 3, "#8A7A55", 30,
         cost_note(3) + "When it enters play it marks a random enemy creature with rot: that "
         "creature loses 1 HP at the end of every turn.", 2, 3,
         effects=[("RANDOMENEMY", "ENTERPLAY",
                   "REQTRAIT:CREATURE:REQNOTTRAIT:ROTTING:ECHO:The Bog Mummy marks $TARGETNAME "
                   "with creeping rot.:ADDTRAIT:ROTTING:ADDEFFECT:TURNEND:SELF:MODMYTRAIT:HP:-1:"
                   "ECHOMINOR:Rot gnaws at $MYNAME.")]),
    Card("Sinkhole", "sinkhole", S, 4, "#4A3B2A", 50,
         cost_note(4) + "Spell. Choose an enemy that is not a player: it leaves play at once "
         "and does not die.",
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQNOTTRAIT:PLAYER:REQTRAIT:HP:ECHO:The ground opens beneath "
                   "$TARGETNAME and nothing is left behind.:REMOVE")]),
    Card("Quagmire", "quagmire", S, 3, "#5C6B3A", 30,
         cost_note(3) + "Spell. Choose an enemy creature with 4 HP or less: it is destroyed.",
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQTRAIT:CREATURE:REQTRAITLESS:HP:4:ECHO:$TARGETNAME sinks into "
                   "the Quagmire.:DESTROY")]),
    Card("Spark of Dawn", "sparkofdawn", S, 1, "#FFB347", 5,
         cost_note(1) + "Spell. Choose an enemy: it takes 2 damage.",
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQTRAIT:HP:MODTRAIT:HP:-2:ECHO:A spark of dawn burns "
                   "$TARGETNAME.")]),
    Card("Lantern Oil", "lanternoil", S, 1, "#E8C15A", 5,
         cost_note(1) + "Spell. Your lantern gains 3 glow.",
         effects=[("SELF", "ENTERPLAY",
                   "MODMYOWNERTRAIT:GLOW:3:ECHO:Lantern oil feeds the flame of $MYOWNER.")]),
    Card("Marsh Lights", "marshlights", S, 2, "#7FE0B0", 20,
         cost_note(2) + "Spell. The lights drift to a random enemy and burn a creature there "
         "for 2.",
         effects=[("RANDOMENEMY", "ENTERPLAY",
                   "REQTRAIT:CREATURE:ECHOMINOR:Marsh lights drift across the water.:"
                   "MODTRAIT:HP:-2:ECHO:The marsh lights burn $TARGETNAME.")]),
    Card("Pike Captain", "pikecaptain", C, 3, "#6F8FAF", 25,
         cost_note(3) + "When it enters play it marks an enemy as its quarry and harries it "
         "for 1 in phase 6.", 2, 4,
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQTRAIT:HP:ECHO:The Pike Captain marks $TARGETNAME as its "
                   "quarry.:SETMYTRAIT:QUARRY:TARGETGID"),
                  ("GIDCARD:TRAIT/QUARRY", "PHASE6",
                   "REQENEMY:REQTRAIT:HP:MODTRAIT:HP:-1:ECHOMINOR:The Pike Captain harries its "
                   "quarry.")]),
    Card("Mask Weaver", "maskweaver", C, 2, "#A58FC7", 25,
         cost_note(2) + "When it enters play it hides an enemy creature behind a mask of reeds.",
         1, 2,
         effects=[("TARGETCARD", "ENTERPLAY",
                   "REQENEMY:REQTRAIT:CREATURE:REQNOTTRAIT:MASKED:ECHO:The Mask Weaver hides "
                   "$TARGETNAME behind a mask of reeds.:CHANGENAME:Masked $SIMPLETARGETNAME:"
                   "SETTRAIT:MASKED:1:RECOLORTARGET:#667766:TARGETCOLOR")]),
    Card("Lantern Herald", "lanternherald", C, 1, "#F5E6B8", 10,
         cost_note(1) + "It announces the dawn, and its light turns golden.", 1, 2,
         effects=[("SELF", "ENTERPLAY",
                   "FRAMECOLOR:#1A2A40:ECHO:The Lantern Herald announces the coming dawn.:"
                   "RECOLORME:#FFD860")]),
    Card("Old Marsh King", "oldmarshking", C, 5, "#C9A227", 80,
         cost_note(5) + "Legendary: one to a deck. When he enters play every other allied "
         "creature gains 1 POWER.", 4, 7,
         traits=[("LEGENDARY", ""), ("LIMITED", "1"), ("PRIORITY", "10")],
         effects=[("ALL", "ENTERPLAY",
                   "REQALLY:REQNOTME:REQTRAIT:CREATURE:REQTRAIT:POWER:MODTRAIT:POWER:1:ECHOONCE:"
                   "The Old Marsh King rises and his subjects grow bold."),
                  ("SELF", "ENTERPLAY", "REQISPLAYER:UNLOCK:Old Marsh King")]),
    Card("Mossling Elder", "mosslingelder", C, 2, "#6B8F4E", 15,
         cost_note(2) + "When it enters play every allied Mossling gains 1 POWER.", 1, 3,
         # A Mossling behind a Mask Weaver's mask is still one.
         effects=[("ALL", "ENTERPLAY",
                   f"REQALLY:REQNAME:{name}:MODTRAIT:POWER:1:ECHO:The Mossling Elder teaches "
                   "$TARGETNAME to bite.") for name in ("Mossling", "Masked Mossling")]),
    Card("Twin-Moon Oracle", "twinmoonoracle", C, 3, "#C0C8F0", 30,
         cost_note(3) + "In phase 2, if the enemy has more creatures, its owner draws a card. "
         "Alone, it heals at the end of the turn.", 1, 3,
         effects=[("SELF", "PHASE2",
                   "REQISMORE:TRAITCOUNT/CREATURE/SRCENEMY:TRAITCOUNT/CREATURE/SRCALLY:"
                   "DRAWCARDS:1:ECHO:The Oracle sees the far bank fill with foes and whispers a "
                   "warning."),
                  ("SELF", "TURNEND",
                   "REQEQUALS:TRAITCOUNT/CREATURE/SRCALLY:1:REQMYTRAITLESS:HP:2:MODMYTRAIT:HP:1:"
                   "ECHOMINOR:Alone under the twin moons the Oracle gathers its strength.")]),
    Card("Shellback Turtle", "shellback", C, 3, "#5F7F5F", 20,
         cost_note(3) + "When an enemy acts on it, it may pull into its shell and shrug the "
         "action off.", 1, 5,
         effects=[("TRIGGERINGCARD", "TARGETED", SHELL)]),
    Card("Decoy Scarecrow", "decoyscarecrow", T, 2, "#B39B6B", 20,
         cost_note(2) + "Enemy creatures that act on your cards strike the scarecrow instead, "
         "if their action could strike a structure.", hp=4, traits=[("DECOY", "1")],
         effects=[("TRIGGERINGCARD", "INTERCEPT",
                   "REQENEMY:REQTRAIT:CREATURE:ECHO:The Decoy Scarecrow draws the eye of "
                   "$TARGETNAME.")]),
    Card("Willow Ward", "willowward", T, 3, "#7B9E6B", 35,
         cost_note(3) + "A blow aimed at the ward may whip back at the attacker's master.",
         hp=5,
         effects=[("SELF", "BEFORETRAITCHANGE:HP", WARD_WHIP)]),
    Card("Moth Shrine", "mothshrine", T, 2, "#E6D7A3", 30,
         cost_note(2) + "Each allied spell that is paid for costs 1 glow less.", hp=3,
         effects=[("SELF", "ENTERPLAY", "ADDTRAIT:LENDSGLOW"),
                  ("TRIGGERINGCARD", "COSTMOD",
                   "REQALLY:REQTRAIT:SPELL:ECHOMINOR:The Moth Shrine lends its glow to "
                   "$TARGETNAME.")]),
    Card("Ember Newt", "embernewt", C, 2, "#E06B3A", 10,
         cost_note(2) + "Fire. In phase 3 it scorches a random enemy creature that is not of "
         "water.", 1, 2, traits=[("ELEMENT", "FIRE")],
         effects=[("RANDOMENEMY", "PHASE3",
                   "REQTRAIT:CREATURE:REQNOTRAITIS:ELEMENT:WATER:MODTRAIT:HP:-1:ECHO:The Ember "
                   "Newt scorches $TARGETNAME.")]),
    Card("Rain Caller", "raincaller", S, 2, "#6FA0D8", 20,
         cost_note(2) + "Spell. Every fire creature in play turns to water.",
         effects=[("ALL", "ENTERPLAY",
                   "REQTRAITIS:ELEMENT:FIRE:SETTRAIT:ELEMENT:WATER:ECHOONCE:Rain sweeps over "
                   "the marsh and every ember hisses out.")]),
    Card("Lamp Thief", "lampthief", C, 2, "#8C6FA8", 15,
         cost_note(2) + "In phase 4 it steals 1 glow from the enemy player.", 1, 2,
         effects=[("RANDOMENEMY", "PHASE4",
                   "REQTRAIT:PLAYER:REQTRAITMORE:GLOW:1:MODTRAIT:GLOW:-1:MODMYOWNERTRAIT:GLOW:1:"
                   "ECHO:The Lamp Thief steals a little glow from $TARGETNAME.")]),
    Card("Hermit of the Hollow", "hermit", C, 3, "#8F8F70", 30,
         cost_note(3) + "In phase 2, if its owner has 6 glow or more, it spends 3 glow and its "
         "owner draws two cards.", 1, 4,
         # No action can see whether the hand has room or the deck has cards, so the text says
         # what happens rather than promising a trade.
         effects=[("SELF", "PHASE2",
                   "REQMYOWNERTRAITMORE:GLOW:6:MODMYOWNERTRAIT:GLOW:-3:DRAWCARDS:2:ECHO:The "
                   "Hermit of the Hollow spends three glow on old secrets and $MYOWNER draws two "
                   "cards.")]),
    Card("Reed Archer", "reedarcher", C, 2, "#B5A35A", 10,
         cost_note(2) + "In phase 4 it shoots a random flying creature or structure of the "
         "enemy for 1.", 1, 2,
         effects=[("RANDOMENEMY", "PHASE4",
                   "REQONEOF:FLYING/STRUCTURE:MODTRAIT:HP:-1:ECHO:The Reed Archer shoots at "
                   "$TARGETNAME.")]),
    Card("Ferryman", "ferryman", C, 3, "#4C5F7A", 30,
         cost_note(3) + "When it enters play it rows another creature back to the hand of the "
         "side it is on.",
         2, 3,
         effects=FERRY),
]

# A rarity above 100 keeps a card out of every booster, so that no trade with the Wisp Trader
# hands out an enemy's player card or the wraith, which starts in play and has no cost.
NEVER_TRADED = 101

HEROES = {
    "Bogwarden": Card("Bogwarden", "bogwarden", H, 0, "#7A5C3E", NEVER_TRADED,
                      "Warden of the sunken paths. Its hounds and mummies guard the bog.", hp=20,
                      traits=[("GLOW", "1")], in_set=False),
    "Mirewitch": Card("Mirewitch", "mirewitch", H, 0, "#6E5A8C", NEVER_TRADED,
                      "A witch of the mists who fights with spells and wisps.", hp=18,
                      traits=[("GLOW", "2")], in_set=False),
    "Reedmother": Card("Reedmother", "reedmother", H, 0, "#A9B665", NEVER_TRADED,
                       "Mother of the reed folk. She wakes when the drowned chapel is freed.",
                       hp=24, traits=[("GLOW", "1")], in_set=False),
}

WRAITH = Card("Chapel Bell Wraith", "chapelwraith", C, 0, "#9FB8C8", NEVER_TRADED,
              "Starts in play. In phase 7 the drowned bell may flood the far bank and every "
              "enemy creature loses 1 HP.", 2, 6, traits=[("STARTSINPLAY", "")],
              effects=[("ALL", "PHASE7",
                        "REQENEMY:REQTRAIT:CREATURE:ONECHANCE:50:MODTRAIT:HP:-1:ECHOONCE:The "
                        "drowned bell rings and cold water floods the far bank.")],
              in_set=False)

BY_KEY = {c.key: c for c in CARDS}

DECKS = {
    "Bogwarden": {"mossling": 2, "boghound": 3, "peatgolem": 2, "bogmummy": 2, "marshwitch": 2,
                  "turncoattoad": 2, "ghostlantern": 2, "quagmire": 2, "sparkofdawn": 2,
                  "lanternoil": 2, "reedarcher": 2, "shellback": 2, "decoyscarecrow": 1,
                  "mosslingelder": 2, "embernewt": 1},
    "Mirewitch": {"willowisp": 2, "mireshaman": 2, "sirenreeds": 1, "maskweaver": 2,
                  "marshlights": 2, "raincaller": 1, "lampthief": 2, "glowmoth": 3,
                  "heronscout": 2, "herbalist": 2, "twinmoonoracle": 1, "fentwins": 2,
                  "mirrorpool": 1, "sinkhole": 1, "willowward": 1, "mothshrine": 1,
                  "lanternoil": 2, "sparkofdawn": 1},
    "Reedmother": {"reedsentry": 3, "reedarcher": 3, "heronscout": 2, "pikecaptain": 2,
                   "lanternknight": 2, "drownedbell": 2, "herbalist": 2, "oldmarshking": 1,
                   "shellback": 2, "sparkofdawn": 2, "quagmire": 2, "hermit": 2,
                   "peatgolem": 1, "mossling": 2, "ferryman": 1},
}

OPPONENT_GIDS = {"Bogwarden": 8001, "Mirewitch": 8101, "Reedmother": 8201}

RULES_EFFECTS = [
    ("SELF", "GAMESTART", "ECHOMINOR:The marsh lanterns flicker to life."),
    ("ALL", "TURNSTART",
     "REQTRAIT:PLAYER:REQTRAITLESS:ROUND:0:DRAWCARDS:4:ECHOMINOR:$TARGETNAME draws an opening "
     "hand."),
    ("ALL", "TURNSTART", "REQTRAIT:PLAYER:DRAWCARDS:1"),
    ("ALL", "PHASE1", "REQTRAIT:PLAYER:MODTRAIT:GLOW:2"),
    ("ALL", "PHASE9",
     "REQTRAIT:PLAYER:REQTRAITMORE:ROUND:15:MODTRAIT:HP:-2:ECHO:The long night chills "
     "$TARGETNAME while MARSHSOUND."),
    ("ALL", "TURNEND", "REQTRAIT:PLAYER:MODTRAIT:ROUND:1"),
]

# ABILITYCOST is added twice before halving, so that it counts whole.
COST_EFFECTS = [
    ("TARGETCARD", "PRICE",
     "REQTRAIT:CREATURE:SETTRAIT:GLOWCOST:TARGTRAIT/ABILITYCOST/TRAITPLUS2/TARGTRAIT/POWER/"
     "TRAITPLUS1/TARGTRAIT/HP/TRAITPLUS1/DIV2"),
    ("TARGETCARD", "PRICE",
     "REQTRAIT:STRUCTURE:SETTRAIT:GLOWCOST:TARGTRAIT/ABILITYCOST/TRAITPLUS2/TARGTRAIT/HP/"
     "TRAITPLUS1/DIV2"),
    ("TARGETCARD", "PRICE", "REQTRAIT:SPELL:REQTRAITLESS:GLOWCOST:0:SETTRAIT:GLOWCOST:1"),
]

TRAIT_ACTIONS = {
    "POWER": [("RANDOMENEMY", "PHASE5",
               "REQTRAIT:HP:REQMYTRAITMORE:POWER:1:MODTRAIT:HP:TRAIT/POWER/TRAITMINUS1:ECHO:"
               "$MYNAME strikes $TARGETNAME for $AMT damage.")],
    "HP": [("SELF", "TRAITCHANGE:HP",
            "REQNOTTRAIT:PLAYER:REQMYTRAITLESS:HP:0:ECHOMINOR:$MYNAME is lost to the marsh.:"
            "DESTROYME")],
    "PLAYER": [("SELF", "TRAITCHANGE:HP",
                "REQMYTRAITLESS:HP:0:ECHO:The lantern of $MYNAME goes dark.:LOSEGAME")],
    "SPELL": [("SELF", "TURNEND", "DESTROYME")],
}

DECK_RULES = ("TRAITMINIMUM:#ANY#:30:TRAITMINIMUM:PLAYER:1:TRAITLIMIT:#ANY#:60:"
              "TRAITLIMIT:PLAYER:1:SAMENAMELIMIT:#ANY#:3")

MARSH_SOUNDS = ["a heron calls from the reeds", "the frogs fall silent",
                "the black water bubbles and sighs"]


def game_file():
    lines = [f"#GAMERULES, {GAME}, {GAME}.jpg, #2E4A2E, {GAME}, {GAME}Help.html", "",
             f'#DECKRULES, "{DECK_RULES}"', ""]
    for sound in MARSH_SOUNDS:
        lines.append(f'#CUSTOMSTRING, MARSHSOUND, "{sound}"')
    lines.append("")
    lines += detail_block("RulesCard", "#RULESCARD", effects=RULES_EFFECTS)
    lines += ["*** Card Cost Calculator ***"]
    lines += detail_block("CostCard", "#COSTCARD", effects=COST_EFFECTS)
    for trait, effects in TRAIT_ACTIONS.items():
        lines += detail_block(trait, f"#TRAITACTION, {trait}", effects=effects)
    return lines


def set_file():
    lines = [BANNER, "***********  CARD DATA FILE *************", BANNER, "",
             f"#GAMEFILE, {GAME_FILE}", ""]
    for i, card in enumerate(c for c in CARDS if c.in_set):
        lines += card_text(card, "COLLECTION", 5001 + i, SET_FILE) + [""]
    return lines


def torvalune_set_file():
    """The starting card set that deck evolution draws from: the card set under another name."""
    return set_file()


def starter_file():
    lines = [BANNER, "***********  CARD DATA FILE *************", BANNER, "",
             f"#GAMEFILE, {GAME_FILE}", "", "#STARTERDECK", ""]
    for i, card in enumerate(CARDS):
        lines += card_text(card, "INDECK", 6001 + i, SET_FILE) + [""]
    return lines


def starter_builder_file():
    """The starter deck builder a new player takes from the games page, in the form the card
    designer writes: its starter card (a neutral store card whose game-start booster hands out
    cards of the included deck) and the include. Four things are our own: the head line that puts
    the file on the games page, the card's start time, by which it answers the game start, a
    booster that leaves out the included deck's player card, and a second game-start action that
    hands out that player card once: every deck needs exactly one."""
    lamplighter = BY_KEY["lamplighter"]
    lines = [BANNER, "***********  CARD DATA FILE *************", BANNER, "",
             f"#ENEMYDECK, {STARTER_NAME}, {lamplighter.key}, {SET_FILE}, {lamplighter.picture}, "
             f"{lamplighter.thumbnail}, {lamplighter.colour}, , {STARTER_DESCRIPTION}", "",
             f"#GAMEFILE, {GAME_FILE}", "", "#STARTERDECK", ""]
    # The lines of the designer's starter card, its booster aside: that one writes the cards it
    # hands out straight into the report, so it follows the echo in an action of its own.
    effects = [("ALL", "OTHERENTERSPLAY", "REQNOTRAIT:STORE:DESTROY"),
               ("ALL", "GAMESTART",
                "ECHO:Your new starter deck contains the following cards.  Click on the menu "
                "above to save your new deck."),
               ("ALL", "GAMESTART",
                f"BOOSTERWITHREQS:{STARTER_DECK_SIZE}:TARGETREQUIREMENTS:REQNOTTRAIT:PLAYER"),
               ("SELF", "GAMESTART",
                f"ECHO:{STARTER_PLAYER_CARD_NOTE}:BOOSTERCARD:{lamplighter.name}:1")]
    for _, _, script in effects:
        check_script(STARTER_NAME, script)
    lines += [f"#NEUTRALCARD, {STARTER_NAME}, , , #FFFFFF, , ,", "#TRAIT, STORE",
              f"#EFFECT, {effects[0][0]}, {effects[0][1]}, {effects[0][2]}",
              f'#EFFECT, {effects[1][0]}, {effects[1][1]}, "{effects[1][2]}"',
              f'#EFFECT, {effects[2][0]}, {effects[2][1]}, "{effects[2][2]}"', "",
              f'#EFFECT, {effects[3][0]}, {effects[3][1]}, "{effects[3][2]}"',
              f"#EXTRADATA, 0, GAMESTART, , {NO_PICTURE_DATA}, ", "",
              f"#INCLUDE, {STARTER_DECK_FILE}", ""]
    return lines


def player_file():
    lines = ["#PLAYERDECK", "", "#WONMISSIONS, ", "#ENDWONMISSIONS", "", "#TOKENS, 500", ""]
    gids = []
    for i, card in enumerate(CARDS):
        gid = 7001 + i
        gids.append(gid)
        lines += card_text(card, "COLLECTION", gid, SET_FILE) + ["", ""]
    lines.append('"#DECK","Starter Deck"')
    lines += [str(g) for g in gids]
    lines += ['"#ENDOFDECK"', ""]
    return lines


def opponent_file(hero_name, locked_by=None):
    hero = HEROES[hero_name]
    lines = []
    if locked_by:
        lines += [f"#LOCKED, {locked_by}", ""]
    lines += [f"#ENEMYDECK, {hero.name}, {hero.key}, , {hero.picture}, {hero.thumbnail}, "
              f"{hero.colour}, , {hero.desc}", ""]
    base = OPPONENT_GIDS[hero_name]
    lines += card_text(hero, "#PLAYERCARD", base, "") + [""]
    lines += card_text(hero, "INDECK", base, "") + [""]
    gid = base + 1
    for key, count in DECKS[hero_name].items():
        for _ in range(count):
            lines += card_text(BY_KEY[key], "INDECK", gid, SET_FILE) + [""]
            gid += 1
    return lines


def mission_file():
    return [f"#GAME, {GAME}", "",
            '#HTML, "<i>Under the black water a chapel bell still rings.</i> "',
            '#MISSION, "The Drowned Chapel", OPEN, "Drive the Bogwarden and its bell wraith '
            'out of the drowned chapel. Winning wakes the Reedmother.", Bogwarden_Enemy.txt', ""
            ] + card_text(WRAITH, "INDECK", 8301, "") + ["",
            # After the mission's own card: cards placed after an include could land on the
            # slots the included file filled.
            "#INCLUDE, Bogwarden_Enemy.txt", ""]


def profiles_file():
    return [f'"#PLAYERPROFILE","{PROFILE}","{PLAYER_FILE}:{GAME_FILE}","","",""', "",
            "#UNLOCKED, #ENDUNLOCKED", "", ""]


def page(title, body):
    return ["<html>", "<head>", f"<title>{title}</title>", "</head>",
            '<body bgcolor="#101810" text="#E8E8D0" link="#FFD860" vlink="#C9A227">'] + body + [
        "</body>", "</html>"]


def main_help():
    return page("Duvenhall help", [
        "<h2>Duvenhall</h2>",
        "<p>Duvenhall is a collectible card game. You choose a player profile, pick a game on the",
        "games page, build a deck from the cards you own and play it against computer",
        "opponents.</p>",
        "<h3>Starting a game</h3>",
        "<p>The games page lists every game in the program folder. Under each game you see the",
        "portraits of its opponents and, below them, its missions. Click a portrait or a",
        "mission to play. Choose the deck you want to use in the deck manager, then the first",
        "turn is played and your hand is shown.</p>",
        "<p>A new player owns no cards yet. Click the portrait of a starter deck first: its game",
        "hands you the cards of the deck. Keep them with <b>Save Current Player</b> in the",
        "<b>File</b> menu (or <b>Quit / New Game</b>), then pick an opponent and build your",
        "deck from them in the deck manager.</p>",
        "<h3>Playing a turn</h3>",
        "<ul>",
        "<li>Click a card on the board to look at it. The last card you clicked is the",
        "selected card.</li>",
        "<li>Click a card in your hand to queue it for play, aimed at the selected card. Click",
        "it again to take it back. Click it with the right button to discard it instead: a",
        "discard pays the card's cost when the turn is taken, as a play does.</li>",
        "<li>Right after you queue a card, the next card you click on the board becomes its",
        "target.</li>",
        "<li>The queued plays are listed beside the board. Press <b>Take Turn</b> to play them.",
        "Both sides then play their cards and every phase of the turn runs.</li>",
        "<li>Some cards offer special actions in their description. Click an action to choose",
        "it for the next turn, and click it again to drop it.</li>",
        "</ul>",
        "<h3>Cards, decks and tokens</h3>",
        "<p>Every game has its own deck rules; the deck manager tells you when a deck breaks",
        "them. Tokens buy new cards from card stores, and some cards give or take tokens.",
        "Your cards, decks, tokens and won missions are saved in your player file when a game",
        "ends (<b>Quit / New Game</b> ends one too), when you open the <b>Card Editor</b> and",
        "when you close the main window. <b>Quit</b> in the deck manager's <b>File</b> menu",
        "ends the program without saving: use <b>Save Player</b> in that menu first.</p>",
        "<p>Each game has a help page of its own: use the help link under its name on the games",
        "page.</p>",
    ])


def game_help():
    creatures = [c for c in CARDS if c.kind == C]
    spells = [c for c in CARDS if c.kind == S]
    structures = [c for c in CARDS if c.kind == T]

    def rows(cards):
        out = ['<table border="1" cellpadding="3" cellspacing="0">',
               "<tr><th>Card</th><th>Glow</th><th>What it does</th></tr>"]
        for c in cards:
            text = c.desc.split("</i> ", 1)[-1]
            out.append(f"<tr><td>{c.name}</td><td>{c.cost}</td><td>{text}</td></tr>")
        return out + ["</table>"]

    return page(f"{GAME} help", [
        f"<h2>{GAME}</h2>",
        "<p>Night has fallen on the marsh. Each side keeps a lantern burning: your",
        "<b>player card</b> with its HP and its <b>GLOW</b>: click a player card on the board to",
        "see both. When the HP of a player card falls to 0 that side loses the game.</p>",
        "<h3>The turn</h3>",
        "<ol>",
        "<li><b>Turn start:</b> each player draws a card. In the first turn each player draws",
        "five. Cards played this turn come into play and pay their glow.</li>",
        "<li><b>Phase 1:</b> each lantern gains 2 glow.</li>",
        "<li><b>Phases 2 to 4:</b> cards with abilities in these phases use them.</li>",
        "<li><b>Phase 5:</b> every creature with POWER strikes a random enemy for its POWER.</li>",
        "<li><b>Phases 6 to 9:</b> more abilities. After the fifteenth round the long night",
        "chills both players for 2 HP in phase 9.</li>",
        "<li><b>Turn end:</b> spells fade away and the round counter rises.</li>",
        "</ol>",
        "<h3>Glow</h3>",
        "<p>Every card shows its price in glow. A card whose glow you cannot pay goes back to",
        "your hand. Creatures and structures whose HP reaches 0 are lost to the marsh.</p>",
        "<h3>Deck rules</h3>",
        "<ul><li>At least 30 cards and at most 60.</li>",
        "<li>Exactly one player card.</li>",
        "<li>At most three cards of one name, and only one Old Marsh King.</li></ul>",
        "<h3>Opponents and missions</h3>",
        f"<p>New to the marsh? Play the <b>{STARTER_NAME}</b> first: it gives you",
        f"{STARTER_DECK_SIZE} cards of the marsh and a Lamplighter of your own to build a deck from.",
        "The Bogwarden fights with hounds, mummies and golems; the Mirewitch with wisps and",
        "spells. Win the mission <i>The Drowned Chapel</i> to wake the Reedmother.</p>",
        "<h3>Creatures</h3>"] + rows(creatures) + ["<h3>Spells</h3>"] + rows(spells) + [
        "<h3>Structures</h3>"] + rows(structures))


def blank():
    return ['<html><body bgcolor="#000000"></body></html>']


def draw_pictures():
    out = os.path.join(ROOT, "Pictures")
    os.makedirs(out, exist_ok=True)
    convert = shutil.which("convert")
    if not convert:
        raise SystemExit("convert not found: apt-get install imagemagick")

    def run(args):
        subprocess.run([convert] + args, check=True)

    shapes = {
        C: "circle 60,82 60,52",
        S: "polygon 60,40 70,70 100,72 76,90 86,122 60,104 34,122 44,90 20,72 50,70",
        T: "rectangle 38,48 82,128",
        H: "roundrectangle 42,40 78,118 8,8",
    }
    everything = CARDS + list(HEROES.values()) + [WRAITH]
    for card in everything:
        initials = "".join(w[0] for w in card.name.replace("-", " ").split()[:2]).upper()
        art = os.path.join(out, card.picture)
        run(["-size", "120x160", f"gradient:{card.colour}-#0B130B",
             "-fill", "#0B130B", "-stroke", "#F4E7B0", "-strokewidth", "3",
             "-draw", shapes[card.kind],
             "-stroke", "none", "-fill", "#F4E7B0", "-font", "DejaVu-Serif-Bold",
             "-pointsize", "22", "-gravity", "center", "-annotate", "+0+2", initials,
             "-bordercolor", "#2E4A2E", "-border", "3", "-strip", "-quality", "60", art])
        run([art, "-resize", "42x56", "-strip", "-quality", "60",
             os.path.join(out, card.thumbnail)])
    run(["-size", "160x100", "gradient:#2E4A2E-#0B130B", "-fill", "#FFD860",
         "-draw", "circle 80,46 80,30", "-fill", "#F4E7B0", "-font", "DejaVu-Serif-Bold",
         "-pointsize", "18", "-gravity", "south", "-annotate", "+0+6", GAME,
         "-strip", "-quality", "60", os.path.join(out, f"{GAME}.jpg")])
    for n, colour in ((1, "#55FF55"), (2, "#FF5511")):
        run(["-size", "42x56", f"xc:{colour}", "-fill", "#0B130B", "-font", "DejaVu-Serif-Bold",
             "-pointsize", "26", "-gravity", "center", "-annotate", "+0+0", str(n),
             "-type", "TrueColor", f"BMP3:{os.path.join(out, f'Player{n}thumb.bmp')}"])


def main():
    if os.path.isdir(ROOT):
        for name in os.listdir(ROOT):
            if name != "Pictures" or "--no-pictures" not in sys.argv:
                path = os.path.join(ROOT, name)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    write(GAME_FILE, game_file())
    write(os.path.join(GAME, SET_FILE), set_file())
    write(os.path.join(GAME, "Torvalune_StartingSet.txt"), torvalune_set_file())
    write(os.path.join(GAME, STARTER_DECK_FILE), starter_file())
    write(os.path.join(GAME, STARTER_BUILDER_FILE), starter_builder_file())
    write(os.path.join(GAME, "Bogwarden_Enemy.txt"), opponent_file("Bogwarden"))
    write(os.path.join(GAME, "Mirewitch_Enemy.txt"), opponent_file("Mirewitch"))
    write(os.path.join(GAME, "Reedmother_Enemy.txt"),
          opponent_file("Reedmother", locked_by="FirstLight.mis"))
    write(os.path.join(GAME, "FirstLight.mis"), mission_file())
    write("PlayerProfiles.txt", profiles_file())
    write(PLAYER_FILE, player_file())
    write("MainHelp.html", main_help())
    write(f"{GAME}Help.html", game_help())
    write("blank.htm", blank())
    if "--no-pictures" not in sys.argv:
        draw_pictures()
    families = {
        "echo": {"ECHO", "ECHOONCE", "ECHOMINOR", "ECHOFAIL", "ECHOLOCKED", "CANCEL"},
        "requirements": {"REQTRAIT", "REQNOTTRAIT", "REQMYTRAIT", "REQTRAITMORE",
                         "REQTRAITLESS", "REQNAME", "REQONEOF", "REQTRAITIS", "REQNOTME"},
        "trait changes": {"MODTRAIT", "MODMYTRAIT", "SUBTRAIT", "SETTRAIT", "ADDTRAIT",
                          "REMOVEMYTRAIT", "TRAITCOMMAND", "MODVAL", "UNLOCK"},
        "tokens and boosters": {"MODTOKENS", "BOOSTER"},
        "side, value and chance": {"REQENEMY", "REQALLY", "REQISMORE", "REQISLESS", "REQEQUALS",
                                   "REQISPLAYER", "CHANCE", "ONECHANCE", "REQVALLESS"},
        "card life": {"DRAWCARDS", "ADDEFFECT", "DESTROYME", "DESTROY", "REMOVE", "CREATECARD",
                      "MINDCONTROL", "DEFECTME", "RETURNTOHAND", "DUPLICATE", "DUPLICATEME",
                      "LOSEGAME"},
        # No REPEAT: a repeat runs inside its action, where no intercept is offered it. No
        # REDIRECT or REDIRECTBYGID: the action sent on keeps what it asks of its target, which
        # the new target need not meet.
        "targeting": {"RETARGET", "REDIRECTTRAIT"},
        "names and colours": {"CHANGENAME", "RECOLORTARGET", "RECOLORME", "FRAMECOLOR",
                              "TARGETCOLOR"},
    }
    for family, words in families.items():
        missing = words - used_keywords
        if missing:
            raise SystemExit(f"{family}: unused {sorted(missing)}")
    print(f"{len(CARDS)} cards in the starter deck, keywords used: {len(used_keywords)}")


if __name__ == "__main__":
    main()
