#!/usr/bin/env python3
"""Writes the demo catalogue content as SQL text into demo/data/*.sql.

The committed SQL is the source the build uses; this script only produces it. It is fully
deterministic (one fixed seed), so running it again gives the same files.

    python3 demo/tools/gen_demo.py            # rewrite demo/data/*.sql
    python3 demo/tools/gen_demo.py --check DB # also run every stored filter against a built DB
"""
import os
import random
import sqlite3
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(os.path.dirname(HERE), "data")

PATH_LETTERS = "vmhi"
CARD_COUNT = 569

# Cards whose picture file is deliberately left out by mkdemo (keep in step with mkdemo.cpp).
MISSING_PICTURES = ["033", "144", "287", "421", "512"]


def q(value):
    """SQL literal: NULL, a bare integer, or a single-quoted text with apostrophes doubled."""
    if value is None:
        return "NULL"
    if isinstance(value, int):
        return str(value)
    return "'" + str(value).replace("'", "''") + "'"


def insert(table, columns, rows):
    out = []
    for row in rows:
        out.append("INSERT INTO %s (%s) VALUES (%s);" % (table, ", ".join(columns), ", ".join(q(v) for v in row)))
    return "\n".join(out) + "\n"


def normalize_summoning(summoning, paths, card_type):
    """The 24-character summoning form: four blocks of six, one per path letter v, m, h, i."""
    source = summoning
    collected = ""
    if card_type == "L004":
        source = paths
        for k in range(4):
            collected += PATH_LETTERS[k] * int(paths[k])
    for letter in PATH_LETTERS:
        collected += "".join(c for c in source if c == letter)
    result = ["_"] * 24
    for k, letter in enumerate(PATH_LETTERS):
        count = 0
        for c in collected:
            if c == letter:
                count += 1
                result[k * 6 + count - 1] = c
    return "".join(result)


# Worked by hand; the generator refuses to run when the routine disagrees.
assert normalize_summoning("", "", "L002") == "_" * 24
assert normalize_summoning("vmv", "", "L002") == "vv____m_________________"
assert normalize_summoning("vvm", "", "L002") == "vv____m_________________"
assert normalize_summoning("mhii", "", "L005") == "______m_____h_____ii____"
assert normalize_summoning("vVm", "", "L002") == "v_____m_________________"
assert normalize_summoning("", "2110", "L004") == "vv____m_____h___________"
assert normalize_summoning("vvvv", "1000", "L004") == "v_______________________"
assert normalize_summoning("", "0213", "L004") == "______mm____h_____iii___"

# ---------------------------------------------------------------------------------------------
# Lookup tables

PANTHEONS = [
    ("M001", "Napkorona"),
    ("M002", "Holdfátyol"),
    ("M003", "Vérmező"),
    ("M004", "Ködhegy"),
    ("M005", "Tűzszív"),
    ("M006", "Jégvár"),
    ("M007", "Árnyvölgy"),
    ("M008", "Őszerdő"),
]

# Type number n uses the fields of its row in the card type field table:
# level (Szint), paths (Utak), power points (HP), summoning (Leidézés).
FIELDS = {
    0: "SUHL", 1: "HL", 2: "SHL", 3: "SL", 4: "U", 5: "SL", 6: "SL", 7: "L",
    8: "SHL", 9: "L", 10: "L", 11: "UH", 12: "SHL", 13: "SL", 14: "SL",
}

CARD_TYPES = [
    ("L000", "egyéb lap", 0),
    ("L001", "szörnyeteg", 2),
    ("L002", "had", 2),
    ("L003", "tárgy", 3),
    ("L004", "főisten", 0),
    ("L005", "varázslat", 4),
    ("L006", "hős vezér", 1),
    ("L007", "intrika", 6),
    ("L008", "hadvezér", 1),
    ("L009", "manőver", 6),
    ("L010", "kataklizma", 4),
    ("L011", "nép", 5),
    ("L012", "mágus vezér", 1),
    ("L013", "ereklye", 3),
    ("L014", "építmény", 5),
]

PROPERTIES = [
    ("T001", "Repülő"), ("T002", "Mágikus"), ("T003", "Élőholt"), ("T004", "Óriás"),
    ("T005", "Gyors"), ("T006", "Páncélos"), ("T007", "Rejtőzködő"), ("T008", "Gyógyító"),
    ("T009", "Méregfogú"), ("T010", "Tengeri"), ("T011", "Égi"), ("T012", "Átkozott"),
]

CATEGORIES = [
    ("S001", "Kezdő pakliba"), ("S002", "Gyűjtői ritkaság"), ("S003", "Versenyen tiltott"),
    ("S004", "Promóciós lap"), ("S005", "Hibás nyomat"), ("S006", "Kedvenc"),
]

# ---------------------------------------------------------------------------------------------
# Filter types and their operations

INT_OPS = ["=", "<", ">", "<=", ">=", "<>"]
FILTER_TYPES = [
    # id, name, field, field2, field3, kind, operations
    (1, "Lapszám", "TLAP.L_LAPSZAM", None, None, "S", ["=", "<", ">", "<=", ">=", "<>", "LIKE"]),
    (2, "Megnevezés", "TLAP.L_NEV", None, None, "S", ["LIKE", "=", "<>"]),
    (3, "Velkor", "TLAP.L_VELKOR", "TVELKOR.VELKOR_ID", "VELKOR_NEV", "SO", ["=", "<>"]),
    (4, "Laptípus", "TLAPTIPUS.LAPTIPUS_ID", "TLAPTIPUS.LAPTIPUS_ID", "LAPTIPUS_NEV", "SO", ["=", "<>"]),
    (5, "Szint", "TLAP.L_SZINT", None, None, "I", INT_OPS),
    (6, "Hatalom Pont", "TLAP.L_HP", None, None, "I", INT_OPS),
    (7, "Darabszám", "TLAP.L_DB", None, None, "I", INT_OPS),
    (8, "Gyakoriság", "TLAP.L_GYAKORISAG", None, None, "S", ["=", "<>"]),
    (9, "Leidézés", "TLAP.L_LEIDEZES", None, None, "S", ["LIKE", "=", "<>"]),
    (10, "Tulajdonság", "TLAPTUL.LT_TULID", "TTULAJDONSAG.TULAJDONSAG_ID", "TULAJDONSAG_NEV", "SO", ["=", "<>"]),
    (11, "Egyéb tulajdonság", "TLAPTUL.LT_TULID", "TKATEGORIA.KATEGORIA_ID", "KATEGORIA_NEV", "SO", ["=", "<>"]),
    (12, "Lapazonosító", "TLAP.L_ID", None, None, "I", ["=", "<>"]),
    (13, "Utak / Szférák", "TLAP.L_UTAK", None, None, "S", ["=", "LIKE", "<>"]),
]
FT = {t[0]: t for t in FILTER_TYPES}

# ---------------------------------------------------------------------------------------------
# Cards

# Main gods: the numbers with a built-in portrait, plus two without one.
PORTRAIT_GODS = list(range(1, 21)) + list(range(401, 409)) + [550, 559, 560]
GODS = PORTRAIT_GODS + [180, 490]

GOD_NAMES = [
    ("Ábel, a Fény Atyja", "M001"), ("Ödön, a Mindenható", "M002"), ("Vérúr Kartal", "M003"),
    ("Ködkirály Ugron", "M004"), ("Lángszívű Zsolt", "M005"), ("Jégkorona Hella", "M006"),
    ("Árnyak Ura", "M007"), ("Őszanya Liliána", "M008"), ("Napkorona Aurélia", "M001"),
    ("Holdanya Szelén", "M002"), ("Csatakirály Örs", "M003"), ("Hegyek Őrzője", "M004"),
    ("Parázsúrnő Emese", "M005"), ("Fagyúr Bendegúz", "M006"), ("Ny'arlath, az Árny", "M007"),
    ("Lombkirály Álmos", "M008"), ("Hajnalhozó Ilmár", "M001"), ("Éjfátyol Réka", "M002"),
    ("Vasököl Gyula", "M003"), ("Szürke Ködlovag", "M004"), ("Örök Tűz Atyja", "M005"),
    ("Fehér Jégsárkány", "M006"), ("Árnyékbíró Kund", "M007"), ("Ősi Tölgy Szelleme", "M008"),
    ("Virradat Előd", "M001"), ("Ezüsthold Tünde", "M002"), ("Abaddon, a Pusztító", "M003"),
    ("Csillagfonó Ede", "M004"), ("Égszakadás Úrnője", "M005"), ("Ünőke, a Kikelet", "M008"),
    ("Ősz Ottó", "M008"), ("K'thar, a Vándor", "M007"), ("Égbolt Úrnője", "M001"),
]

NAME_FIRST = [
    "Acélos", "Bátor", "Csendes", "Dühödt", "Ezüst", "Fekete", "Gyors", "Hű", "Ízes", "Jeges",
    "Kóbor", "Lángoló", "Mérges", "Néma", "Óriás", "Öreg", "Pajzsos", "Rémes", "Sötét", "Tüzes",
    "Ügyes", "Vad", "Zöld", "Égő", "Árnyas", "Ősi", "Szürke", "Aranyos", "Vérző", "Ködös",
    "Holdfényes", "Szárnyas", "Titkos", "Vak", "Büszke", "Győztes",
]
NAME_SECOND = {
    "L000": ["Különc", "Vándor", "Talány", "Kobold"],
    "L001": ["Sárkány", "Griff", "Óriáspók", "Kígyó", "Farkas", "Troll", "Lidérc", "Basilisk"],
    "L002": ["Lándzsások", "Íjászok", "Lovasság", "Őrség", "Gyalogság", "Zsoldosok", "Harcosok"],
    "L003": ["Kard", "Pajzs", "Sisak", "Köpeny", "Gyűrű", "Amulett", "Bot"],
    "L005": ["Villám", "Tűzeső", "Átok", "Áldás", "Gyógyítás", "Ködfal", "Jégpáncél", "Varázsige"],
    "L006": ["Hős", "Lovag", "Bajnok", "Kapitány"],
    "L007": ["Cselszövés", "Árulás", "Összeesküvés", "Megvesztegetés"],
    "L008": ["Hadvezér", "Tábornok", "Vezér", "Marsall"],
    "L009": ["Rajtaütés", "Visszavonulás", "Bekerítés", "Ellentámadás"],
    "L010": ["Földrengés", "Vízözön", "Napfogyatkozás", "Dögvész"],
    "L011": ["Nép", "Törzs", "Klán", "Falu", "Város"],
    "L012": ["Mágus", "Varázsló", "Boszorkány", "Látó"],
    "L013": ["Ereklye", "Szent Kehely", "Kőtábla", "Ősi Tekercs"],
    "L014": ["Torony", "Vár", "Szentély", "Híd", "Kapu"],
}
# Names that the prefix searches must find, in every letter case, and names with apostrophes.
SPECIAL_NAMES = {
    30: "Abrak Ödön", 61: "ábrándos Őrző", 95: "Ábel tanítványa", 122: "ABLAKOS torony",
    203: "Ábránd Éva", 260: "abroncsos harcos", 377: "ÁBRÁNYI vért", 444: "Abigél, a látó",
    515: "Áb-Ra szentélye", 141: "Sz'ah, a vándor", 333: "K'thun árnyéka", 470: "Ny'arlath fattya",
    25: "Őrző Ödön", 26: "Ükapa Üllő", 27: "Éjféli Íjász",
}

# Fixed details the tests and hand checks lean on.
FIXED = {
    1: dict(paths="2110"),
    2: dict(paths="0213"),
    21: dict(type="L002", summoning="vmv", level=3, hp=4),
    22: dict(type="L005", summoning="mhii", level=2),
    23: dict(type="L002", summoning="vVm", level=1, hp=1),
    25: dict(type="L008", summoning="vvm", level=5, hp=3),
    421: dict(type="L011"),  # a people card without a picture file
    100: dict(type="L011"),
}

RARITIES = ["t", "g", "á", "r", "e"]
RARITY_WEIGHTS = [30, 30, 20, 15, 5]

TYPE_WEIGHTS = [
    ("L000", 2), ("L001", 10), ("L002", 14), ("L003", 7), ("L005", 12), ("L006", 3),
    ("L007", 5), ("L008", 3), ("L009", 5), ("L010", 3), ("L011", 8), ("L012", 3),
    ("L013", 4), ("L014", 5),
]

INFO_TEMPLATES = [
    "{p} főistene. Hadai {a}, papjai {b}.",
    "{p} ura. Hívei {a} és {b}; a nevét csak suttogva ejtik ki.",
    "{p} legősibb istensége. Követői {a}, de a csatában {b}.",
]
INFO_A = ["gyorsak", "kitartóak", "félelmetesek", "fegyelmezettek", "vakmerők", "ravaszok"]
INFO_B = ["bölcsek", "kegyetlenek", "hűségesek", "titokzatosak", "türelmesek", "harciasak"]


def random_summoning(rng):
    n = rng.choice([1, 1, 2, 2, 2, 3, 3, 4])
    letters = [rng.choice("vvvmmhhi") for _ in range(n)]
    if rng.random() < 0.85:
        letters.sort(key=PATH_LETTERS.index)
    return "".join(letters)


def random_paths_god(rng):
    while True:
        digits = [rng.choice([0, 0, 1, 1, 1, 2, 2, 3]) for _ in range(4)]
        if 3 <= sum(digits) <= 6:
            return "".join(str(d) for d in digits)


def make_cards(rng):
    cards = []
    god_index = 0
    used_names = set()
    types_pool = [t for t, w in TYPE_WEIGHTS for _ in range(w)]
    for lid in range(1, CARD_COUNT + 1):
        fixed = FIXED.get(lid, {})
        if lid in GODS:
            ctype = "L004"
        else:
            ctype = fixed.get("type") or rng.choice(types_pool)
        n = int(ctype[1:])
        use = FIELDS[n]
        if ctype == "L004":
            name, pantheon = GOD_NAMES[god_index]
            god_index += 1
        else:
            pantheon = rng.choice(PANTHEONS)[0]
            name = SPECIAL_NAMES.get(lid)
            while name is None or name in used_names:
                name = rng.choice(NAME_FIRST) + " " + rng.choice(NAME_SECOND[ctype])
                if name in used_names and rng.random() < 0.5:
                    name = None
                elif name in used_names:
                    name += " " + rng.choice(["II.", "III.", "ifjabb", "öreg"])
        used_names.add(name)
        assert len(name) <= 30, name

        level = rng.choice([1, 1, 2, 2, 3, 3, 4, 5, 6]) if "S" in use else None
        hp = rng.choice([0, 1, 1, 2, 2, 3, 4, 5]) if "H" in use else None
        summoning = random_summoning(rng) if "L" in use else ""
        if ctype == "L004":
            paths = fixed.get("paths") or random_paths_god(rng)
        elif "U" in use:
            paths = "".join(sorted((rng.choice("vmhi") for _ in range(rng.choice([1, 1, 2]))), key=PATH_LETTERS.index))
        else:
            paths = ""
        level = fixed.get("level", level)
        hp = fixed.get("hp", hp)
        summoning = fixed.get("summoning", summoning)
        if hp == 0:
            hp = None
        rarity = "e" if ctype == "L004" else rng.choices(RARITIES, RARITY_WEIGHTS)[0]
        owned = rng.choice([1, 1, 2, 3, 4]) if rng.random() < 0.4 else None
        info = None
        if ctype == "L004":
            pname = dict(PANTHEONS)[pantheon]
            info = rng.choice(INFO_TEMPLATES).format(p=pname, a=rng.choice(INFO_A), b=rng.choice(INFO_B))
            assert len(info) <= 250
        cards.append(dict(
            id=lid, number="%03d" % lid, name=name, pantheon=pantheon, type=ctype,
            summoning=summoning, level=level, paths=paths, hp=hp, owned=owned, rarity=rarity,
            tech=normalize_summoning(summoning, paths, ctype), picture="%03d.jpg" % lid, info=info))
    assert god_index == len(GODS)
    return cards


# ---------------------------------------------------------------------------------------------
# Annotations

NOTE_TEXTS = [
    "Két példány cserealapba.", "Ezt a lapot a 2019-es versenyen nyertem.",
    "Sarka kopott, de játszható.", "Keresni kell még egyet belőle!",
    "Jól megy a Napkorona paklival; érdemes kipróbálni a Holdfátyol lapokkal is.",
    "Gyűjtői darab – ne keverd a játékpakliba.", "Aláírt példány (a rajzolóé).",
    "Kölcsönadva Ödönnek, vissza kell kérni.",
]

ABILITY_TEXTS = [
    "Egyszer körönként egy saját lény +1 szintet kap.",
    "Leidézéskor húzz egy lapot.",
    "A lap ellen kijátszott varázslatok hatása megszűnik, ha a lap tulajdonosa egy v utat feláldoz.",
    "Amíg ez a lap játékban van, az ellenfél hadai nem támadhatnak repülő lényeket, kivéve ha azok szintje kisebb a támadóénál.",
    "Ha a lap a temetőbe kerül, a tulajdonosa visszavehet a kezébe egy tetszőleges tárgyat vagy ereklyét a saját temetőjéből, majd megkeveri a pakliját. Ezt a képességet csak egyszer lehet használni egy játék során.",
    "Áldozz fel egy népet: minden saját had +2 Hatalom Pontot kap a kör végéig, és az ellenfél nem játszhat ki intrikát ebben a körben, kivéve ha legalább három kijátszott főistene van.",
    "Sebzésmentesség a tűz alapú varázslatokkal szemben.",
    "Kétszer támad, ha a főisten útjai között legalább két h szerepel.",
    "A kör elején nézd meg a paklid felső három lapját, és tedd vissza őket tetszőleges sorrendben.",
    "Ha ezt a lapot egy ellenséges intrika célozza, az intrika hatása a kijátszójára száll át, és a kijátszó elveszít egy Hatalom Pontot; ha nincs Hatalom Pontja, egy lapot kell eldobnia a kezéből.",
]
ABILITY_PLAY = ["", "", "B", "K", "P", "S", "BK", "KP", "BS", "v", "m"]
ABILITY_COST = ["", "v", "vm", "hh", "i", "mmh", "vvmi", "B", "K"]


def make_annotations(rng, cards):
    non_gods = [c for c in cards if c["type"] != "L004"]
    # Notes: at most one per card.
    noted = sorted(rng.sample([c["id"] for c in cards], 30))
    notes = [(lid, NOTE_TEXTS[i % len(NOTE_TEXTS)]) for i, lid in enumerate(noted)]

    # Special abilities: S_NUM unique over the whole table.
    abilities = []
    num = 0

    def add(lid, play, cost, text):
        nonlocal num
        num += 1
        abilities.append((lid, num, play, cost, text))

    # Card 25 carries three abilities, the last two long enough to wrap.
    add(25, "B", "v", ABILITY_TEXTS[0])
    add(25, "KP", "vm", ABILITY_TEXTS[3])
    add(25, "S", "hh", ABILITY_TEXTS[4])
    add(1, "", "", ABILITY_TEXTS[5])
    for c in sorted(rng.sample(non_gods, 90), key=lambda c: c["id"]):
        if c["id"] == 25:
            continue
        for _ in range(rng.choice([1, 1, 1, 2])):
            add(c["id"], rng.choice(ABILITY_PLAY), rng.choice(ABILITY_COST), rng.choice(ABILITY_TEXTS))

    # Property and category links, no duplicate pair.
    links = []
    for c in cards:
        props = set()
        if rng.random() < 0.55:
            props.update(rng.sample([p for p, _ in PROPERTIES], rng.choice([1, 1, 2, 3])))
        if rng.random() < 0.2:
            props.update(rng.sample([k for k, _ in CATEGORIES], rng.choice([1, 1, 2])))
        for pid in sorted(props):
            links.append((c["id"], pid))
    for pair in [(21, "T001"), (21, "T011"), (21, "S001"), (25, "T002"), (25, "S006"), (1, "S001")]:
        if pair not in links:
            links.append(pair)
    assert len(links) == len(set(links))
    return notes, abilities, links


# ---------------------------------------------------------------------------------------------
# Stored filters

def make_filters(cards):
    bases = []  # (id, name, category)
    rows = []   # (fbid, ftid, value, order, group, andor, fieldname, operation, valuetype)

    def add_filter(fbid, name, category, conditions):
        bases.append((fbid, name, category))
        for order, (ftid, op, value, group, andor) in enumerate(conditions):
            t = FT[ftid]
            if category != "04OSSZ":
                assert op in t[6], (name, op)
            rows.append((fbid, ftid, value, order, group, andor, t[2], op, t[5]))

    add_filter(1, "Főistenek", "00ALAP", [(4, "=", "L004", 1, "")])
    add_filter(2, "Vezérek", "00ALAP", [(4, "=", "L999", 1, "")])
    add_filter(3, "Erős hadak", "00ALAP", [
        (4, "=", "L002", 1, ""), (5, ">", "3", 2, "AND"), (6, ">=", "4", 2, "OR")])
    add_filter(4, "Ritka és egyedi lapok", "00ALAP", [
        (8, "=", "r", 1, ""), (8, "=", "e", 1, "OR")])
    add_filter(5, "Napkorona varázslatai", "00ALAP", [
        (3, "=", "M001", 1, ""), (4, "=", "L005", 1, "AND")])
    add_filter(6, "Népek", "00ALAP", [(4, "=", "L011", 1, "")])
    add_filter(7, "Repülő vagy égi lények", "00ALAP", [
        (10, "=", "T001", 1, ""), (10, "=", "T011", 1, "OR")])
    add_filter(8, "Ab kezdetű nevek", "00ALAP", [(2, "LIKE", "Ab", 1, "")])
    add_filter(9, "Sokat érő lapok (3+ Hatalom Pont)", "00ALAP", [(6, ">=", "3", 1, "")])
    add_filter(10, "Alapsor lapjai", "00ALAP", [(1, "<", "358", 1, "")])
    add_filter(11, "Főistenek vagy vezérek", "00ALAP", [
        (4, "=", "L004", 1, ""), (4, "=", "L999", 2, "OR")])
    add_filter(12, "Kis szintű olcsó hadak", "00ALAP", [
        (4, "=", "L002", 1, ""), (4, "=", "L001", 1, "OR"),
        (5, "<=", "2", 2, "AND"), (9, "LIKE", "v", 3, "AND"), (9, "LIKE", "m", 3, "OR")])
    add_filter(13, "Kezdő pakli lapjai", "02KAT", [(11, "=", "S001", 1, "")])
    add_filter(14, "Mágikus lények", "05TUL", [(10, "=", "T002", 1, "")])
    add_filter(15, "Saját: olcsó varázslatok", "01USER", [
        (4, "=", "L005", 1, ""), (5, "<", "3", 1, "AND")])
    add_filter(16, "Saját: ritkák egy példányban", "01USER", [
        (8, "=", "r", 1, ""), (7, "<=", "1", 1, "AND")])
    # A related-card set: one equality per card id, ORed, in the order of the set's sorted list.
    napkorona = sorted((c for c in cards if c["pantheon"] == "M001" and c["type"] != "L004"),
                       key=lambda c: (c["number"], c["name"]))[:8]
    add_filter(17, "Napkorona kezdő csomag", "04OSSZ",
               [(12, "=", str(c["id"]), 0, "" if i == 0 else "OR") for i, c in enumerate(napkorona)])
    # The set stores the historical field name, not FT_FIELD.
    rows = [r if r[0] != 17 else r[:6] + ("L_ID",) + r[7:] for r in rows]
    # Card-linked filters: card 1 carries four (three are shown), card 21 the same one twice.
    card_links = [(1, 1, 1), (2, 2, 1), (3, 7, 1), (4, 9, 1), (5, 3, 21), (6, 3, 21), (7, 17, 21), (8, 8, 30)]
    return bases, rows, card_links


def make_decks(rng, cards):
    by_id = {c["id"]: c for c in cards}
    decks = [(1, "Napkorona hadai", "Gyors, támadó pakli a Napkorona főistenével.\nKezdőknek is ajánlott.", 1),
             (2, "Ködhegyi intrikák", "", 4)]
    rows = []
    for pid, _, _, god in decks:
        pantheon = by_id[god]["pantheon"]
        pool = [c["id"] for c in cards if c["type"] != "L004" and c["pantheon"] == pantheon]
        for lid in sorted(rng.sample(pool, 14)):
            rows.append((pid, lid, rng.choice([1, 1, 2, 3])))
        assert god not in [r[1] for r in rows if r[0] == pid]
    return decks, rows


def main():
    rng = random.Random(20240517)
    cards = make_cards(rng)
    notes, abilities, links = make_annotations(rng, cards)
    bases, frows, card_links = make_filters(cards)
    decks, deck_rows = make_decks(rng, cards)
    assert "L011" == next(c for c in cards if c["number"] == "421")["type"]

    head = "-- Generated by demo/tools/gen_demo.py; the build reads this text.\n"
    files = {
        "01_lookup.sql": head
        + insert("TVELKOR", ["VELKOR_ID", "VELKOR_NEV"], PANTHEONS)
        + insert("TLAPTIPUS", ["LAPTIPUS_ID", "LAPTIPUS_NEV", "LAPTIPUS_TECHSORREND"], CARD_TYPES)
        + insert("TTULAJDONSAG", ["TULAJDONSAG_ID", "TULAJDONSAG_NEV"], PROPERTIES)
        + insert("TKATEGORIA", ["KATEGORIA_ID", "KATEGORIA_NEV"], CATEGORIES),
        "02_filters.sql": head
        + insert("TFILTERTYPE", ["FT_ID", "FT_NAME", "FT_FIELD", "FT_FIELD2", "FT_FIELD3", "FT_KIND"],
                 [t[:6] for t in FILTER_TYPES])
        + insert("TFILTEROP", ["FO_ID", "FO_FTID", "FO_OP"],
                 [(i + 1, ftid, op) for i, (ftid, op) in
                  enumerate((t[0], op) for t in FILTER_TYPES for op in t[6])])
        + insert("TFILTERBASE", ["FB_ID", "FB_NAME", "FB_CATEGORY"], bases)
        + insert("TFILTER", ["F_FBID", "F_FTID", "F_FOID", "F_VALUE", "F_ORDER", "F_GROUP", "F_ANDOR",
                             "F_FIELDNAME", "F_OPERATION", "F_VALUETYPE"],
                 [(r[0], r[1], -1) + r[2:] for r in frows]),
        "03_cards.sql": head
        + insert("TLAP", ["L_ID", "L_LAPSZAM", "L_NEV", "L_VELKOR", "L_LAPTIPUS", "L_LEIDEZES", "L_SZINT",
                          "L_UTAK", "L_HP", "L_DB", "L_GYAKORISAG", "L_LEIDEZESTECH", "L_KEPNEV", "L_INFO"],
                 [(c["id"], c["number"], c["name"], c["pantheon"], c["type"], c["summoning"], c["level"],
                   c["paths"], c["hp"], c["owned"], c["rarity"], c["tech"], c["picture"], c["info"])
                  for c in cards]),
        "04_links.sql": head
        + insert("TLAPTUL", ["LT_LID", "LT_TULID"], links)
        + insert("TMEGJ", ["ME_LAPID", "ME_MEGJEGYZES"], notes)
        + insert("TSPEC", ["S_LAPID", "S_NUM", "S_KIJATSZ", "S_LEIDEZES", "S_SZOVEG"], abilities)
        + insert("TSZURESLAP", ["SZL_ID", "SZL_FBID", "SZL_LID"], card_links),
        "05_decks.sql": head
        + insert("TPAKLI", ["P_ID", "P_NEV", "P_MEGJ", "P_FOISTENLID"], decks)
        + insert("TPAKLILAP", ["PL_PID", "PL_LID", "PL_LDB"], deck_rows),
    }
    os.makedirs(DATA, exist_ok=True)
    for name, text in files.items():
        with open(os.path.join(DATA, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    print("wrote %d cards, %d filters, %d abilities" % (len(cards), len(bases), len(abilities)))


# ---------------------------------------------------------------------------------------------
# --check: the clause grammar of the card list, to prove every stored filter gives valid SQL.

LEADERS = "((TLAPTIPUS.LAPTIPUS_ID='L006')OR(TLAPTIPUS.LAPTIPUS_ID='L008')OR(TLAPTIPUS.LAPTIPUS_ID='L012'))"


def where_clause(pieces):
    groups, text = [], ""

    def close(t):
        if t.startswith("AND"):
            return "AND(" + t[3:] + ")"
        if t.startswith("OR"):
            return "OR(" + t[2:] + ")"
        return "(" + t + ")"

    for i, p in enumerate(pieces):
        quote = "" if p["op"] != "LIKE" and p["vt"] == "I" else "'"
        operand = p["value"] + ("%" if p["op"] == "LIKE" else "")
        if p["value"] == "L999":
            text += p["andor"] + LEADERS
        else:
            text += p["andor"] + "(" + p["field"] + " " + p["op"] + " " + quote + operand + quote + ")"
        if i + 1 < len(pieces) and pieces[i + 1]["group"] != p["group"]:
            groups.append(close(text))
            text = ""
    if text:
        groups.append(close(text))
    line = "".join(groups).replace(")(", ")AND(")
    return "WHERE " + line + "\r\n" if line else ""


def check(db_path):
    con = sqlite3.connect(db_path)
    base = ("SELECT TLAP.L_ID FROM (TLAP INNER JOIN TLAPTIPUS ON TLAP.L_LAPTIPUS = TLAPTIPUS.LAPTIPUS_ID) "
            "INNER JOIN TVELKOR ON TLAP.L_VELKOR = TVELKOR.VELKOR_ID ")
    joined = base.replace("SELECT TLAP.L_ID FROM (", "SELECT TLAP.L_ID FROM ((").replace(
        "VELKOR_ID ", "VELKOR_ID) INNER JOIN TLAPTUL ON TLAP.L_ID = TLAPTUL.LT_LID ")
    for fbid, name, cat in con.execute("SELECT FB_ID, FB_NAME, FB_CATEGORY FROM TFILTERBASE ORDER BY FB_ID"):
        pieces = [dict(field=r[0], op=r[1], value=r[2], vt=r[3], andor=r[4], group=r[5]) for r in con.execute(
            "SELECT FT_FIELD, F_OPERATION, F_VALUE, F_VALUETYPE, F_ANDOR, F_GROUP FROM TFILTER "
            "INNER JOIN TFILTERTYPE ON F_FTID = FT_ID WHERE F_FBID = ? ORDER BY F_ORDER", (fbid,))]
        sel = joined if any("LT_TULID" in p["field"] for p in pieces) else base
        sql = sel + " " + where_clause(pieces)
        count = len(con.execute(sql).fetchall())
        print("%3d %-8s %-36s %4d  %s" % (fbid, cat, name, count, where_clause(pieces).strip()))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        check(sys.argv[2])
    else:
        main()
