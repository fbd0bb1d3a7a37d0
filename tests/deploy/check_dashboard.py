#!/usr/bin/env python3
"""Checks the Grafana dashboard for what an import needs and for queries that
can only ever show data: every metric an expression names is one the exporter
(rx40ctl monitor) serves, or Prometheus's own `up`.

usage: check_dashboard.py DASHBOARD.json   (exit 0: fine, 1: problems listed)
"""
import json
import re
import sys

METRICS = {
    "rx40_locked", "rx40_signal_strength_percent", "rx40_signal_quality_percent",
    "rx40_link_margin_db", "rx40_signal_dbm", "rx40_cnr_db", "rx40_info",
    "rx40_dish_angle_degrees", "rx40_lock_losses_total", "rx40_scrapes_total",
    "rx40_card_present", "rx40_recorded_bytes_total", "rx40_recorded_packets_total",
    "rx40_continuity_errors_total", "rx40_sync_losses_total", "rx40_overflows_total",
    "up",
}
# The exporter's labels, rx40_info's, and the ones Prometheus adds (site is
# the example configuration's target label).
LABELS = {
    "adapter", "frequency_mhz", "polarisation", "symbol_rate",
    "system", "modulation", "fec", "roll_off", "isi",
    "instance", "job", "site", "__name__",
}
KEYWORDS = {"and", "or", "unless", "by", "without", "on", "ignoring", "group_left",
            "group_right", "offset", "bool", "inf", "nan", "atan2"}
GRAFANA_VARIABLES = {"__rate_interval", "__interval", "__interval_ms", "__range", "__range_s", "__range_ms"}
PANEL_TYPES = {"stat", "timeseries", "table", "gauge", "bargauge", "text", "row", "state-timeline"}
GRID_COLUMNS = 24


def metric_names(expr):
    """The metric names a PromQL expression selects."""
    text = re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', '""', expr)
    text = re.sub(r"\{[^}]*\}", " ", text)
    text = re.sub(r"\[[^\]]*\]", " ", text)
    text = re.sub(r"\b(by|without|on|ignoring|group_left|group_right)\s*\([^)]*\)", " ", text)
    names = []
    # An identifier not inside a number or duration ("5m"), not a function
    # (followed by "("), not a keyword, not a $variable.
    for match in re.finditer(r"(?<![\w.$])[A-Za-z_:][\w:]*", text):
        name = match.group(0)
        if name.lower() in KEYWORDS or re.match(r"\s*\(", text[match.end():]):
            continue
        names.append(name)
    return names


def label_names(expr):
    """Label names used in matchers and in by/without/on/ignoring lists."""
    names = []
    for block in re.findall(r"\{([^}]*)\}", expr):
        names += re.findall(r"([A-Za-z_]\w*)\s*(?:=~|!~|!=|=)", re.sub(r'"(?:\\.|[^"\\])*"', '""', block))
    for block in re.findall(r"\b(?:by|without|on|ignoring|group_left|group_right)\s*\(([^)]*)\)", expr):
        names += [n.strip() for n in block.split(",") if n.strip()]
    return names


def variables(text):
    return re.findall(r"\$\{?(\w+)", text)


def problems(dash):
    found = []
    say = found.append

    if not isinstance(dash, dict):
        return ["the file is not a JSON object"]
    uid = dash.get("uid")
    if not isinstance(uid, str) or not re.fullmatch(r"[A-Za-z0-9_-]{1,40}", uid):
        say("uid: missing, or not 1 to 40 letters, digits, - and _")
    if not isinstance(dash.get("title"), str) or not dash["title"].strip():
        say("title: missing")
    schema = dash.get("schemaVersion")
    if not isinstance(schema, int) or not 36 <= schema <= 39:
        say(f"schemaVersion: {schema!r}, wanted a number from 36 to 39")

    templating = dash.get("templating", {}).get("list", [])
    defined = {v.get("name") for v in templating}
    datasource_vars = [v for v in templating if v.get("type") == "datasource"]
    if not any(v.get("name") == "datasource" and v.get("query") == "prometheus" for v in datasource_vars):
        say("templating: no Prometheus datasource variable named datasource")
    for var in templating:
        if var.get("type") != "query":
            continue
        query = var.get("query")
        query = query.get("query", "") if isinstance(query, dict) else query or ""
        call = re.fullmatch(r"\s*label_values\(\s*([^,]+?)\s*,\s*(\w+)\s*\)\s*", query)
        if not call:
            say(f"variable {var.get('name')}: query {query!r} is not label_values(METRIC, LABEL)")
            continue
        for name in metric_names(call.group(1)):
            if name not in METRICS:
                say(f"variable {var.get('name')}: unknown metric {name}")
        if call.group(2) not in LABELS:
            say(f"variable {var.get('name')}: unknown label {call.group(2)}")

    def check_datasource(where, ds):
        if not isinstance(ds, dict) or ds.get("uid") != "${datasource}" or ds.get("type") != "prometheus":
            say(f"{where}: datasource is not the ${{datasource}} variable")

    panels = dash.get("panels")
    if not isinstance(panels, list) or not panels:
        say("panels: none")
        return found

    ids, boxes, margin_line = set(), [], False
    for index, panel in enumerate(panels):
        name = f"panel {index} ({panel.get('title', '?')})"
        if panel.get("type") not in PANEL_TYPES:
            say(f"{name}: type {panel.get('type')!r} unknown")
        if not isinstance(panel.get("title"), str) or not panel["title"].strip():
            say(f"{name}: no title")
        pid = panel.get("id")
        if not isinstance(pid, int) or pid in ids:
            say(f"{name}: id {pid!r} missing or repeated")
        ids.add(pid)

        grid = panel.get("gridPos")
        if not isinstance(grid, dict) or not all(isinstance(grid.get(k), int) for k in "hwxy"):
            say(f"{name}: gridPos needs whole numbers h, w, x and y")
        else:
            h, w, x, y = grid["h"], grid["w"], grid["x"], grid["y"]
            if h < 1 or w < 1 or x < 0 or y < 0 or x + w > GRID_COLUMNS:
                say(f"{name}: gridPos {grid} lies outside the {GRID_COLUMNS} columns")
            for other, (ox, oy, ow, oh) in boxes:
                if x < ox + ow and ox < x + w and y < oy + oh and oy < y + h:
                    say(f"{name}: gridPos overlaps {other}")
            boxes.append((name, (x, y, w, h)))

        if panel.get("type") in ("row", "text"):
            continue
        check_datasource(name, panel.get("datasource"))
        targets = panel.get("targets")
        if not isinstance(targets, list) or not targets:
            say(f"{name}: no targets")
            continue
        refs = [t.get("refId") for t in targets]
        if any(not r for r in refs) or len(set(refs)) != len(refs):
            say(f"{name}: refIds missing or repeated")
        for target in targets:
            where = f"{name} target {target.get('refId')}"
            check_datasource(where, target.get("datasource"))
            expr = target.get("expr")
            if not isinstance(expr, str) or not expr.strip():
                say(f"{where}: no expr")
                continue
            names = metric_names(expr)
            if not names:
                say(f"{where}: expr {expr!r} names no metric")
            for metric in names:
                if metric not in METRICS:
                    say(f"{where}: unknown metric {metric} in {expr!r}")
            for label in label_names(expr):
                if label not in LABELS:
                    say(f"{where}: unknown label {label} in {expr!r}")
            for var in variables(expr):
                if var not in defined and var not in GRAFANA_VARIABLES:
                    say(f"{where}: variable ${var} is not defined")
            for label in re.findall(r"\{\{\s*(\w+)\s*\}\}", target.get("legendFormat", "")):
                if label not in LABELS:
                    say(f"{where}: legend names unknown label {label}")
            if "rx40_link_margin_db" in names:
                defaults = panel.get("fieldConfig", {}).get("defaults", {})
                steps = defaults.get("thresholds", {}).get("steps", [])
                style = defaults.get("custom", {}).get("thresholdsStyle", {}).get("mode", "off")
                if any(s.get("value") == 3 for s in steps) and style != "off":
                    margin_line = True
    if not margin_line:
        say("no link margin panel draws a threshold at 3 dB")
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        with open(argv[1], encoding="utf-8") as f:
            dash = json.load(f)
    except (OSError, ValueError) as error:
        print(f"{argv[1]}: {error}", file=sys.stderr)
        return 1
    found = problems(dash)
    for problem in found:
        print(f"{argv[1]}: {problem}", file=sys.stderr)
    if not found:
        print(f"{argv[1]}: {len(dash['panels'])} panels, every query on the exporter's metrics")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
