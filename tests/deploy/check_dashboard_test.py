#!/usr/bin/env python3
"""The dashboard check passes the shipped dashboard and catches each fault it
is there for, made in a copy of it.

usage: check_dashboard_test.py DASHBOARD.json
"""
import copy
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_dashboard  # noqa: E402


def first(dash, panel_type):
    return next(p for p in dash["panels"] if p["type"] == panel_type)


def margin_panel(dash):
    return next(p for p in dash["panels"] if "rx40_link_margin_db" in p["targets"][0]["expr"])


def set_expr(text):
    def change(dash):
        first(dash, "timeseries")["targets"][0]["expr"] = text
    return change


def faults():
    def drop(key):
        return lambda dash: dash.pop(key)

    def set_top(key, value):
        return lambda dash: dash.__setitem__(key, value)

    def panel_drop(key):
        return lambda dash: first(dash, "timeseries").pop(key)

    def overlap(dash):
        dash["panels"][1]["gridPos"] = dict(dash["panels"][0]["gridPos"])

    def too_wide(dash):
        dash["panels"][0]["gridPos"]["w"] = 25

    def repeated_id(dash):
        dash["panels"][1]["id"] = dash["panels"][0]["id"]

    def fixed_datasource(dash):
        first(dash, "timeseries")["targets"][0]["datasource"] = {"type": "prometheus", "uid": "P1809F7CD0C75ACF3"}

    def no_datasource_variable(dash):
        dash["templating"]["list"] = [v for v in dash["templating"]["list"] if v["type"] != "datasource"]

    def bad_variable_metric(dash):
        var = next(v for v in dash["templating"]["list"] if v["type"] == "query")
        var["query"]["query"] = "label_values(rx40_present, instance)"

    def legend_label(dash):
        first(dash, "timeseries")["targets"][0]["legendFormat"] = "{{adapter}} {{frequency}}"

    def no_margin_line(dash):
        margin_panel(dash)["fieldConfig"]["defaults"]["custom"]["thresholdsStyle"]["mode"] = "off"

    def margin_line_at_5(dash):
        for step in margin_panel(dash)["fieldConfig"]["defaults"]["thresholds"]["steps"]:
            if step["value"] == 3:
                step["value"] = 5

    def repeated_ref(dash):
        panel = next(p for p in dash["panels"] if len(p["targets"]) > 1)
        panel["targets"][1]["refId"] = panel["targets"][0]["refId"]

    return {
        "a metric the exporter does not serve": (set_expr('rx40_signal_quality{instance=~"$instance"}'), "unknown metric"),
        "a misspelt metric inside a function": (
            set_expr('rate(rx40_recorded_byte_total{instance=~"$instance"}[5m])'), "unknown metric"),
        "a metric of another exporter": (set_expr('node_load1 + on(instance) rx40_locked'), "unknown metric"),
        "an unknown label in a matcher": (set_expr('rx40_locked{adaptor="0"}'), "unknown label"),
        "an unknown label in by()": (set_expr('max by (frequency) (rx40_locked)'), "unknown label"),
        "an undefined variable": (set_expr('rx40_locked{instance=~"$receiver"}'), "not defined"),
        "an empty expr": (set_expr(""), "no expr"),
        "no uid": (drop("uid"), "uid"),
        "no title": (set_top("title", " "), "title"),
        "an old schemaVersion": (set_top("schemaVersion", 16), "schemaVersion"),
        "a panel without gridPos": (panel_drop("gridPos"), "gridPos"),
        "a panel without targets": (panel_drop("targets"), "no targets"),
        "overlapping panels": (overlap, "overlaps"),
        "a panel wider than the grid": (too_wide, "outside"),
        "a repeated panel id": (repeated_id, "repeated"),
        "a repeated refId": (repeated_ref, "refIds"),
        "a fixed datasource": (fixed_datasource, "datasource"),
        "no datasource variable": (no_datasource_variable, "datasource variable"),
        "a variable on an unknown metric": (bad_variable_metric, "unknown metric"),
        "a legend with an unknown label": (legend_label, "unknown label"),
        "no threshold line on the link margin": (no_margin_line, "3 dB"),
        "the margin line at 5 dB": (margin_line_at_5, "3 dB"),
    }


def main(argv):
    with open(argv[1], encoding="utf-8") as f:
        dash = json.load(f)
    failed = 0
    shipped = check_dashboard.problems(dash)
    if shipped:
        failed += 1
        print("the shipped dashboard fails:", *shipped, sep="\n  ")
    for name, (change, words) in faults().items():
        broken = copy.deepcopy(dash)
        change(broken)
        found = check_dashboard.problems(broken)
        if not any(words in problem for problem in found):
            failed += 1
            print(f"not caught: {name} (wanted a problem mentioning {words!r}, got {found})")
    total = len(faults()) + 1
    print(f"{total - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
