# Renders a converted model from its .glb alone:
#   PATH=/usr/bin:$PATH blender -b --factory-startup --python docs/render-glb.py -- \
#       FILE.glb ANIMATION SECONDS OUT.png
# docs/gltf-figure.png is out/tree/art/meshes/humans/figure.glb, walk, 0.3.
# Blender's glTF importer makes the armature, its actions and the textured materials; Cycles
# renders the model posed in the animation at that time, on a white ground, on the processor.
import math
import sys

import numpy

numpy.bool = bool  # Blender 3.4's importer still names numpy.bool, which numpy 1.24 removed
import bpy
from mathutils import Vector

path, animation, seconds, picture = sys.argv[sys.argv.index('--') + 1:][:4]

bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=path)
scene = bpy.context.scene

armature = next(thing for thing in bpy.data.objects if thing.type == 'ARMATURE')
armature.animation_data_create()
armature.animation_data.action = next(
    action for action in bpy.data.actions if action.name.startswith(animation))
scene.render.fps = 30
scene.frame_set(round(float(seconds) * scene.render.fps))

# The posed model's bounds, to frame it.
depsgraph = bpy.context.evaluated_depsgraph_get()
corners = []
for thing in bpy.data.objects:
    if thing.type == 'MESH':
        evaluated = thing.evaluated_get(depsgraph)
        corners += [evaluated.matrix_world @ vertex.co for vertex in evaluated.to_mesh().vertices]
low = Vector(min(corner[i] for corner in corners) for i in range(3))
high = Vector(max(corner[i] for corner in corners) for i in range(3))
centre = (low + high) / 2
height = high.z - low.z

bpy.ops.mesh.primitive_plane_add(size=height * 20, location=(centre.x, centre.y, low.z))
ground = bpy.context.object
ground.data.materials.append(bpy.data.materials.new('ground'))

bpy.ops.object.camera_add(location=centre + Vector((height * 0.85, -height * 1.8, height * 0.2)))
camera = bpy.context.object
camera.data.lens = 50
direction = centre - camera.location
camera.rotation_euler = direction.to_track_quat('-Z', 'Y').to_euler()
scene.camera = camera

bpy.ops.object.light_add(type='SUN', rotation=(math.radians(50), math.radians(10), math.radians(30)))
bpy.context.object.data.energy = 3
world = bpy.data.worlds.new('white')
world.use_nodes = True
world.node_tree.nodes['Background'].inputs['Color'].default_value = (1, 1, 1, 1)
world.node_tree.nodes['Background'].inputs['Strength'].default_value = 1.2
scene.world = world

scene.render.engine = 'CYCLES'
scene.cycles.device = 'CPU'
scene.cycles.samples = 64
scene.cycles.use_denoising = False
scene.render.resolution_x = 640
scene.render.resolution_y = 640
scene.render.filepath = picture
bpy.ops.render.render(write_still=True)
