"""The installed type stubs against the module, so that editors show what read() really does."""

import ast
import inspect
import pathlib

import wfconv

PACKAGE = pathlib.Path(wfconv.__file__).parent


def documented(body, prefix=""):
    """Name -> docstring of every public class, function and property in a stub body."""
    found = {}
    for node in body:
        if isinstance(node, (ast.ClassDef, ast.FunctionDef)) and not node.name.startswith("_"):
            found[prefix + node.name] = ast.get_docstring(node)
            if isinstance(node, ast.ClassDef):
                found.update(documented(node.body, node.name + "."))
    return found


def test_stubs_name_and_describe_everything_public():
    assert (PACKAGE / "py.typed").exists()
    stubs = documented(ast.parse((PACKAGE / "_wfconv.pyi").read_text()).body)
    assert {name for name in stubs if "." not in name} == set(wfconv.__all__)
    for name, doc in stubs.items():
        owner, _, member = name.rpartition(".")
        value = getattr(getattr(wfconv, owner), member) if owner else getattr(wfconv, name)
        assert doc and inspect.cleandoc(value.__doc__) == doc, name
