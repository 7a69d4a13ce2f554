# blender -b --factory-startup --python-exit-code 1 --python blender-import.py -- FILE.glb
# Imports the file with Blender's glTF importer and checks that it made one armature with every
# joint as a bone, one action per animation and every image.
import json
import struct
import sys

import numpy

numpy.bool = bool  # Blender 3.4's importer still names numpy.bool, which numpy 1.24 removed
import bpy


def gltf_json(path):
    with open(path, 'rb') as glb:
        data = glb.read()
    (length,) = struct.unpack_from('<I', data, 12)
    return json.loads(data[20:20 + length])


def check(what, actual, expected):
    if actual != expected:
        raise SystemExit(f'{what}: Blender has {actual}, the file {expected}')


path = sys.argv[sys.argv.index('--') + 1]
document = gltf_json(path)
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=path)

armatures = [thing for thing in bpy.data.objects if thing.type == 'ARMATURE']
check('armatures', len(armatures), 1)
joints = document['skins'][0]['joints']
check('bones', sorted(bone.name for bone in armatures[0].data.bones),
      sorted(document['nodes'][joint]['name'] for joint in joints))
# Blender names an action after its animation and the object it moves.
check('actions',
      sorted(action.name.removesuffix('_' + armatures[0].name) for action in bpy.data.actions),
      sorted(animation['name'] for animation in document.get('animations', [])))
check('images', sorted(image.name for image in bpy.data.images),
      sorted(image['name'] for image in document.get('images', [])))
print(f'{path}: {len(joints)} bones, {len(bpy.data.actions)} actions, '
      f'{len(bpy.data.images)} images')
